// Runs on the build machine: writes the page's form from the form's
// description, so that the browser shows it, and puts the focus in the input,
// before the module has arrived.
//   page_writer <page template> <style sheet> <page> <style sheet with places>
// The template's "<!-- caption -->" becomes the form's caption and
// "<!-- controls -->" the controls, in stacking order;
// the style sheet's "@form_width@" becomes the form's width at the browser's
// default font, below which the controls flow into one column, and the style
// sheet gains each control's place on a 96-DPI screen with a 9-point font,
// which the page's script corrects for other screens and fonts.

#include "form.h"

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

std::string place_rules()
{
    const FormLayout layout = form_layout(96, {9, 0, 0, 0});
    std::ostringstream css;
    css << "\n/* Written from the form: each control's place at 96 DPI and 9 points. */\n"
        << "#fortpad { --client-width: " << layout.client.width << "px; --client-height: " << layout.client.height
        << "px; }\n";
    for (const ControlPlacement& placement : form_controls) {
        const PixelRect& rect = layout.controls[index_of(placement.control)];
        css << '#' << placement.name << " { --left: " << rect.left << "px; --top: " << rect.top
            << "px; --width: " << rect.width << "px; --height: " << rect.height << "px;";
        if (const auto colour = placement.text_colour)
            css << " color: #" << hex(colour->red) << hex(colour->green) << hex(colour->blue) << ';';
        css << " }\n";
    }
    return css.str();
}

// In em of the browser's default font (16 CSS pixels), which is 9 points
// for the form's font of 0.75rem.
std::string form_width()
{
    std::ostringstream width;
    width << client_size(96).width / 16.0 << "em";
    return width.str();
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
    if (argc != 5) {
        std::cerr << "usage: page_writer <page template> <style sheet> <page> <style sheet with places>\n";
        return 2;
    }
    std::string controls;
    for (const Control control : stacking_order())
        controls += control_markup(placement_of(control)) + '\n';
    std::string page = read(argv[1]);
    std::string style = read(argv[2]);
    if (!fill_in(page, "<!-- caption -->", escaped(form_caption), argv[1]) ||
        !fill_in(page, "<!-- controls -->\n", controls, argv[1]) ||
        !fill_in(style, "@form_width@", form_width(), argv[2]))
        return 1;
    if (!write(argv[3], page) || !write(argv[4], style + place_rules())) {
        std::cerr << "page_writer: cannot write the page\n";
        return 1;
    }
}
