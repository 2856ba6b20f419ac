// Runs the number test on arbitrary UTF-16 input (the bytes, little-endian
// pairs) and checks what must hold after every test, whatever was typed.
#include "fortune_table.h"
#include "memory_boxes.h"
#include "number_reading.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

using namespace fortpad;

namespace {

void check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

bool ends_with(std::u16string_view text, std::u16string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::u16string_view trimmed(std::u16string_view text)
{
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    return text;
}

// The verdict whose text, followed by a comma, begins the entry.
const Verdict* verdict_of(std::u16string_view entry)
{
    auto begins = [&](const Verdict& verdict) {
        return entry.size() > verdict.text.size() && entry.substr(0, verdict.text.size()) == verdict.text
               && entry[verdict.text.size()] == u',';
    };
    for (const Verdict& verdict : fortune_table)
        if (begins(verdict))
            return &verdict;
    return begins(unknown_verdict) ? &unknown_verdict : nullptr;
}

int key_index(std::u16string_view digits)
{
    if (digits.size() > 4)
        digits.remove_prefix(digits.size() - 4);
    int key = 0;
    for (char16_t c : digits)
        key = key * 10 + (c - u'0');
    return key % fortune_count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string typed(size / 2, u'\0');
    std::memcpy(typed.data(), data, typed.size() * 2);

    const std::u16string earlier_good = u"\r\n typed by hand 12", earlier_bad = u"old\n";
    MemoryInput input;
    MemoryList good(earlier_good), bad(earlier_bad);
    input.set_text(typed);
    run_number_test({input, good, bad});

    const std::u16string_view tidy = trimmed(typed);
    const std::u16string_view shown = input.str();
    check(input.focus_count() == 1, "the focus returns to the input");
    check(shown.size() == std::min<std::size_t>(tidy.size(), 32), "the input keeps at most 32 units");
    check(ends_with(tidy, shown), "the input is a suffix of the trimmed text");
    if (tidy.empty()) {
        check(good.str() == earlier_good && bad.str() == earlier_bad, "an empty input records nothing");
        return 0;
    }

    const bool to_good = good.str() != earlier_good;
    check(to_good != (bad.str() != earlier_bad), "exactly one list grows");
    const std::u16string_view list = to_good ? good.str() : bad.str();
    const std::u16string_view earlier = to_good ? earlier_good : earlier_bad;
    check(list.substr(0, earlier.size()) == earlier, "the earlier list text is untouched");
    const std::u16string_view entry = list.substr(earlier.size());
    check(entry.substr(0, 2) == u"\r\n", "an entry starts on a new line");

    const Verdict* verdict = verdict_of(entry.substr(2));
    check(verdict != nullptr, "the entry holds a verdict");
    check((verdict->category == Good) == to_good, "the list is the one the category names");
    const std::u16string_view logged = entry.substr(2 + verdict->text.size() + 1);
    check(!logged.empty() && ends_with(shown, logged), "the logged number is a suffix of the input");

    if (is_digit(shown.back())) {
        for (char16_t c : logged)
            check(is_digit(c), "a logged run holds only digits");
        check(logged.size() == shown.size() || !is_digit(shown[shown.size() - logged.size() - 1]),
              "the logged run is the whole trailing run");
        check(verdict == &fortune_table[std::size_t(key_index(logged))], "the verdict follows the last four digits");
    } else {
        check(verdict == &unknown_verdict && logged == shown, "a non-digit ending gets the unknown verdict");
    }
    check(input.sel_start() == 0 && input.sel_length() == shown.size(), "the whole input is selected");
    return 0;
}
