// The cases both desktop suites read, handed to the browser suite as JSON by
// a module of their own: the page is checked against the same table, not a
// copy of it.

#include "fortune_table.h"
#include "json_writer.h"
#include "window_cases.h"

#include <cstdint>
#include <string>

using fortpad::web::JsonWriter;
namespace cases = fortpad::cases;

namespace {

// What a test appends to its list: CR LF, the verdict, "," and the number.
std::u16string entry(const cases::WorkedExample& example)
{
    const auto& verdict = example.row == cases::unknown_row ? fortpad::unknown_verdict
                                                            : fortpad::fortune_table[std::size_t(example.row)];
    return u"\r\n" + std::u16string(verdict.text) + u"," + std::u16string(example.logged);
}

void write_rect(JsonWriter& json, const cases::PixelRect& rect)
{
    json.begin_array().value(rect.left).value(rect.top).value(rect.width).value(rect.height).end_array();
}

std::u16string all_cases()
{
    JsonWriter json;
    json.begin_object();
    json.key(u"workedExamples").begin_array();
    for (const auto& example : cases::worked_examples)
        json.begin_object()
            .key(u"name").value(example.name)
            .key(u"typed").value(example.typed)
            .key(u"shown").value(example.shown)
            .key(u"list").value(example.good ? "good_box" : "bad_num")
            .key(u"entry").value(entry(example))
            .end_object();
    json.end_array();
    json.key(u"placements").begin_array();
    for (const auto& placement : cases::expected_placements) {
        json.begin_object().key(u"name").value(placement.name).key(u"caption").value(placement.caption);
        json.key(u"96");
        write_rect(json, placement.at_96);
        json.key(u"120");
        write_rect(json, placement.at_120);
        json.key(u"144");
        write_rect(json, placement.at_144);
        json.end_object();
    }
    json.end_array();
    json.key(u"clientSizes").begin_array();
    for (const auto& size : cases::expected_client_sizes)
        json.begin_object()
            .key(u"dpi").value(size.dpi)
            .key(u"width").value(size.width)
            .key(u"height").value(size.height)
            .end_object();
    json.end_array();
    json.key(u"tabVisits").begin_array();
    for (const char* name : cases::tab_visits)
        json.value(name);
    json.end_array();
    json.key(u"listTexts").begin_array();
    for (const auto& text : cases::list_texts)
        json.begin_object().key(u"name").value(text.name).key(u"text").value(text.text).end_object();
    json.end_array();
    json.end_object();
    return json.text();
}

const std::u16string text = all_cases();

} // namespace

extern "C" {
__attribute__((export_name("cases"))) const char16_t* cases_text() { return text.data(); }
__attribute__((export_name("cases_length"))) std::uint32_t cases_length() { return text.size(); }
}
