#include "number_reading.h"

#include "result_lists.h"

namespace fortpad {
namespace {

constexpr std::size_t key_digits = 4;

bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The value of up to four trailing digits, so it always fits 0..9999.
int key_number(std::u16string_view run)
{
    if (run.size() > key_digits)
        run.remove_prefix(run.size() - key_digits);
    int value = 0;
    for (char16_t c : run)
        value = value * 10 + (c - u'0');
    return value;
}

} // namespace

std::u16string tidy_input(std::u16string_view text)
{
    const auto first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos)
        return {};
    text = text.substr(first, text.find_last_not_of(u' ') - first + 1);
    if (text.size() > max_input_length)
        text.remove_prefix(text.size() - max_input_length);
    return std::u16string(text);
}

Reading read_fortune(std::u16string_view tidied)
{
    if (tidied.empty() || !is_digit(tidied.back()))
        return {unknown_verdict, tidied};
    std::size_t run_start = tidied.size() - 1;
    while (run_start > 0 && is_digit(tidied[run_start - 1]))
        --run_start;
    const auto run = tidied.substr(run_start);
    return {fortune_table[key_number(run) % fortune_count], run};
}

void run_number_test(const FormBoxes& boxes)
{
    const std::u16string tidied = tidy_input(boxes.input_num.text());
    boxes.input_num.set_text(tidied);
    if (!tidied.empty()) {
        const Reading reading = read_fortune(tidied);
        test_num(boxes, std::u16string(reading.verdict.text), reading.verdict.category,
                 std::u16string(reading.logged));
    }
    boxes.input_num.set_focus();
}

} // namespace fortpad
