// Runs on the build machine: writes the page's form from the form's
// description, so that the browser shows it, and puts the focus in the input,
// before the module has arrived.
//   page_writer <page template> <style sheet> <page> <style sheet with places> <wiring module>
// The template's "<!-- caption -->" becomes the form's caption and
// "<!-- controls -->" the controls, in stacking order;
// the style sheet's "@form_width@" becomes the form's width at the browser's
// default font, below which the controls flow into one column, and
// "@touch_form_width@" its width at the 16 pixels of a touch screen; the style
// sheet gains each control's place on a 96-DPI screen with a 9-point font,
// which the page's script corrects for other screens and fonts. The wiring
// module names the controls and events for the page's script, as the module
// numbers them.

#include "form.h"

#include <array>
#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

namespace {

using namespace fortpad;

std::string utf8(std::u16string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size())
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | c >> 12);
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | c >> 18);
            out += char(0x80 | (c >> 12 & 0x3F));
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string escaped(std::u16string_view text)
{
    std::string out;
    for (const char c : utf8(text)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// A caption's "&" underlines the access key that follows it.
std::string caption_markup(std::u16string_view caption)
{
    const auto amp = caption.find(u'&');
    if (amp == std::u16string_view::npos || amp + 1 == caption.size())
        return escaped(caption);
    return escaped(caption.substr(0, amp)) + "<u>" + escaped(caption.substr(amp + 1, 1)) + "</u>" +
           escaped(caption.substr(amp + 2));
}

static_assert(input_label().has_value(), "the input is named by its label");

std::string control_markup(const ControlPlacement& placement)
{
    const std::string id = std::string("id=\"") + placement.name + "\"";
    switch (placement.kind) {
    case ControlKind::Label:
        return "<span " + id + " class=\"label\">" + escaped(placement.caption) + "</span>";
    case ControlKind::Input:
        return "<input " + id + " class=\"input\" type=\"text\" autofocus spellcheck=\"false\" autocapitalize=\"off\""
               " enterkeyhint=\"go\" aria-labelledby=\"" + placement_of(*input_label()).name + "\">";
    case ControlKind::Button: {
        const char key = char(access_key(placement.caption) - u'a' + u'A');
        return "<button " + id + " class=\"button\" type=\"button\" aria-keyshortcuts=\"Alt+" + key + "\">" +
               caption_markup(placement.caption) + "</button>";
    }
    case ControlKind::List:
        return "<div " + id + " class=\"list\" contenteditable=\"plaintext-only\" tabindex=\"0\" spellcheck=\"false\""
               " role=\"textbox\" aria-multiline=\"true\" aria-label=\"" + escaped(accessible_name(placement)) +
               "\"></div>";
    }
    return {};
}

std::string hex(int value)
{
    static constexpr char digits[] = "0123456789abcdef";
    return {digits[value >> 4], digits[value & 0xF]};
}

// Each control's place at 96 DPI and `points`, with its colour where it has
// one, as rules indented by `indent`.
std::string place_rules(double points, bool colours, const std::string& indent)
{
    const FormLayout layout = form_layout(96, {points, 0, 0, 0});
    std::ostringstream css;
    css << indent << "#fortpad { --client-width: " << layout.client.width << "px; --client-height: "
        << layout.client.height << "px; }\n";
    for (const ControlPlacement& placement : form_controls) {
        const PixelRect& rect = layout.controls[index_of(placement.control)];
        css << indent << '#' << placement.name << " { --left: " << rect.left << "px; --top: " << rect.top
            << "px; --width: " << rect.width << "px; --height: " << rect.height << "px;";
        if (const auto colour = placement.text_colour; colour && colours)
            css << " color: #" << hex(colour->red) << hex(colour->green) << hex(colour->blue) << ';';
        css << " }\n";
    }
    return css.str();
}

// The places before the module has laid the form out: at 9 points, and at
// the 12 points of a touch screen, so that nothing moves when it has.
std::string place_rules()
{
    return "\n/* Written from the form: each control's place at 96 DPI and 9 points. */\n" +
           place_rules(9, true, "") + "\n/* And at 12 points, a touch screen's. */\n@media (pointer: coarse) {\n" +
           place_rules(12, false, "    ") + "}\n";
}

// In em of the browser's default font (16 CSS pixels), which is 9 points
// for the form's font of 0.75rem, or `font_pixels` where that differs:
// rounded up, so that the form never overflows a screen the rule misses.
std::string form_width(double font_pixels = 12)
{
    std::ostringstream width;
    width << std::ceil(client_size(96).width * font_pixels / 12 / 16 * 1000) / 1000 << "em";
    return width.str();
}

std::string_view event_name(Event event)
{
    switch (event) {
    case Event::Click: return "Click";
    case Event::AccessKey: return "AccessKey";
    case Event::EnterKey: return "EnterKey";
    case Event::GotFocus: return "GotFocus";
    }
    return {};
}

// Listed by their number, which is how the page names an event to the module.
constexpr std::array all_events = {Event::Click, Event::AccessKey, Event::EnterKey, Event::GotFocus};
static_assert([] {
    for (std::size_t number = 0; number < all_events.size(); ++number)
        if (std::size_t(all_events[number]) != number)
            return false;
    return true;
}());

// The controls' names in the form's table order (their number in the
// module's calls) and the events' names by their number. Which event runs
// which handler stays the module's.
std::string wiring()
{
    std::string controls, events;
    for (const ControlPlacement& placement : form_controls)
        controls += std::string(controls.empty() ? "" : ", ") + '\'' + placement.name + '\'';
    for (const Event event : all_events)
        events += std::string(events.empty() ? "" : ", ") + '\'' + std::string(event_name(event)) + '\'';
    return "// Written from the form.\nexport const controlNames = [" + controls + "];\nexport const eventNames = [" +
           events + "];\n";
}

std::string read(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

bool write(const char* path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
    return bool(file.flush());
}

bool fill_in(std::string& text, const std::string& marker, const std::string& filling, const char* path)
{
    const auto at = text.find(marker);
    if (at == std::string::npos) {
        std::cerr << path << ": no " << marker << '\n';
        return false;
    }
    text.replace(at, marker.size(), filling);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::cerr << "usage: page_writer <page template> <style sheet> <page> <style sheet with places> <wiring module>\n";
        return 2;
    }
    std::string controls;
    for (const Control control : stacking_order())
        controls += control_markup(placement_of(control)) + '\n';
    std::string page = read(argv[1]);
    std::string style = read(argv[2]);
    if (!fill_in(page, "<!-- caption -->", escaped(form_caption), argv[1]) ||
        !fill_in(page, "<!-- controls -->\n", controls, argv[1]) ||
        !fill_in(style, "@form_width@", form_width(), argv[2]) ||
        !fill_in(style, "@touch_form_width@", form_width(16), argv[2]))
        return 1;
    if (!write(argv[3], page) || !write(argv[4], style + place_rules()) || !write(argv[5], wiring())) {
        std::cerr << "page_writer: cannot write the page\n";
        return 1;
    }
}
