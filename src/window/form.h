#pragma once

// The form `fortpad` as data: its controls, texts, colours and sizes, read by
// each toolkit's window. Nothing here knows a toolkit.

#include "product.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace fortpad {

struct Rgb {
    std::uint8_t red, green, blue;
};

enum class ControlKind { Button, Input, List, Label };

// The controls, named as the form names them, in the order they are created.
enum class Control : std::uint8_t { cmd_abort, cmd_clr, cmd_end, good_box, bad_num, input_num, cmd_test, Label1 };

struct ControlPlacement {
    Control control;
    const char* name;
    ControlKind kind;
    std::u16string_view caption; // "&" marks the access key
    int left, top, width, height; // twips
    int tab_index;
    std::optional<Rgb> text_colour; // none: the platform's default
    // For screen readers, where no label names the control and colour alone
    // tells it apart.
    std::u16string_view accessible_name = {};
};

// Later controls lie above earlier ones, except the label, which always lies
// beneath.
inline constexpr std::array<ControlPlacement, 8> form_controls = {{
    {Control::cmd_abort, "cmd_abort", ControlKind::Button, u"关于&a", 7440, 120, 975, 375, 7, {}},
    {Control::cmd_clr, "cmd_clr", ControlKind::Button, u"清空&c", 8520, 120, 975, 375, 6, {}},
    {Control::cmd_end, "cmd_end", ControlKind::Button, u"退出&x", 9600, 120, 975, 375, 5, {}},
    {Control::good_box, "good_box", ControlKind::List, u"", 5400, 600, 5175, 4455, 4, Rgb{0, 128, 0}, u"吉的结果"},
    {Control::bad_num, "bad_num", ControlKind::List, u"", 120, 600, 5175, 4455, 3, Rgb{255, 0, 0},
     u"凶、吉凶参半与尾数非数字的结果"},
    {Control::input_num, "input_num", ControlKind::Input, u"", 720, 120, 2295, 270, 0, {}},
    {Control::cmd_test, "cmd_test", ControlKind::Button, u"测一下&s", 3120, 120, 1215, 375, 1, {}},
    {Control::Label1, "Label1", ControlKind::Label, u"数字：", 120, 120, 735, 255, 2, {}},
}};

constexpr std::size_t index_of(Control control) { return std::size_t(control); }

constexpr const ControlPlacement& placement_of(Control control) { return form_controls[index_of(control)]; }

static_assert(std::all_of(form_controls.begin(), form_controls.end(),
                          [](const ControlPlacement& p) { return &placement_of(p.control) == &p; }),
              "each row sits at the index of its control");

inline constexpr std::u16string_view form_caption = FORTPAD_PRODUCT_NAME;
inline constexpr int client_width_twips = 10680;
inline constexpr int client_height_twips = 5175;

// The twips are exact for a 9-point interface font. A larger font scales the
// whole form by its size over 9 points, on top of the DPI, as a dialog's
// units follow its font; a smaller one leaves it exact.
constexpr double font_scale(double font_points) { return font_points > 9 ? font_points / 9 : 1; }

// 1440 twips to the inch, times the font's scale; rounded to the nearest
// pixel as MulDiv rounds, so at 9 points 15 twips make a pixel at 96 dots
// per inch and 12 at 120.
constexpr int to_pixels(int twips, int dpi, double scale = 1)
{
    return int(double(twips) * dpi * scale / 1440 + 0.5);
}

struct PixelRect {
    int left, top, width, height;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct PixelSize {
    int width, height;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// Where a control sits in the client area on a screen of `dpi`, scaled by
// the interface font.
constexpr PixelRect pixel_rect(const ControlPlacement& placement, int dpi, double scale = 1)
{
    return {to_pixels(placement.left, dpi, scale), to_pixels(placement.top, dpi, scale),
            to_pixels(placement.width, dpi, scale), to_pixels(placement.height, dpi, scale)};
}

constexpr PixelSize client_size(int dpi, double scale = 1)
{
    return {to_pixels(client_width_twips, dpi, scale), to_pixels(client_height_twips, dpi, scale)};
}

// The interface font as a window measures it on its screen: its size, and
// the least height in pixels that shows one whole line of it (ascent and
// descent) in the label, and with the frame and margins in the input and a
// button.
struct InterfaceFont {
    double points;
    int label_height, input_height, button_height;

    constexpr int least_height(ControlKind kind) const
    {
        switch (kind) {
        case ControlKind::Label: return label_height;
        case ControlKind::Input: return input_height;
        case ControlKind::Button: return button_height;
        case ControlKind::List: break; // many lines high
        }
        return 0;
    }
};

struct FormLayout {
    PixelSize client;
    std::array<PixelRect, form_controls.size()> controls; // in the table's order
};

// The form on a screen of `dpi` with `font`: every position and size scaled
// by the font, and a control where a whole line does not fit grown downward,
// into the gap above the controls beneath it; nothing else moves.
constexpr FormLayout form_layout(int dpi, const InterfaceFont& font)
{
    const double scale = font_scale(font.points);
    FormLayout layout{client_size(dpi, scale), {}};
    for (const ControlPlacement& placement : form_controls)
        layout.controls[index_of(placement.control)] = pixel_rect(placement, dpi, scale);
    for (const ControlPlacement& placement : form_controls) {
        PixelRect& rect = layout.controls[index_of(placement.control)];
        int room = layout.client.height - rect.top;
        for (const PixelRect& below : layout.controls) {
            const bool overlaps = below.left < rect.left + rect.width && rect.left < below.left + below.width;
            if (overlaps && below.top >= rect.top + rect.height)
                room = std::min(room, below.top - rect.top);
        }
        rect.height = std::clamp(font.least_height(placement.kind), rect.height, std::max(rect.height, room));
    }
    return layout;
}

// The controls that take the focus, in tab order: a label never does.
constexpr auto tab_order()
{
    std::array<Control, form_controls.size() - 1> order{};
    auto by_tab_index = form_controls;
    std::sort(by_tab_index.begin(), by_tab_index.end(),
              [](const ControlPlacement& a, const ControlPlacement& b) { return a.tab_index < b.tab_index; });
    std::size_t next = 0;
    for (const ControlPlacement& placement : by_tab_index)
        if (placement.kind != ControlKind::Label)
            order[next++] = placement.control;
    return order;
}

// The controls from the bottom of the stack up: the label, which lies beneath
// every other control (it reaches under the input), then the others in tab
// order, which is also the order in which screen readers visit the stack.
constexpr auto stacking_order()
{
    std::array<Control, form_controls.size()> order{};
    std::size_t next = 0;
    for (const ControlPlacement& placement : form_controls)
        if (placement.kind == ControlKind::Label)
            order[next++] = placement.control;
    for (Control control : tab_order())
        order[next++] = control;
    return order;
}

// The label, which names the input; none if the form had no label.
constexpr std::optional<Control> input_label()
{
    for (const ControlPlacement& placement : form_controls)
        if (placement.kind == ControlKind::Label)
            return placement.control;
    return std::nullopt;
}

// What screen readers call a control: its own name, or, for the input, the
// label's caption that names it, without its colon.
constexpr std::u16string_view accessible_name(const ControlPlacement& placement)
{
    if (!placement.accessible_name.empty() || placement.kind != ControlKind::Input || !input_label())
        return placement.accessible_name;
    std::u16string_view caption = placement_of(*input_label()).caption;
    if (caption.ends_with(u'：'))
        caption.remove_suffix(1);
    return caption;
}

constexpr char16_t lower_case(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; }

// The letter after "&" in lower case, or 0 for a caption without one.
constexpr char16_t access_key(std::u16string_view caption)
{
    const auto amp = caption.find(u'&');
    return amp == std::u16string_view::npos || amp + 1 == caption.size() ? 0 : lower_case(caption[amp + 1]);
}

// The button whose access key is `key`, in either case.
constexpr std::optional<Control> button_with_access_key(char16_t key)
{
    for (const ControlPlacement& placement : form_controls)
        if (placement.kind == ControlKind::Button && access_key(placement.caption) == lower_case(key))
            return placement.control;
    return std::nullopt;
}

// What the user does to a control, as the form's handlers see it. A click
// also comes from Space on a focused button; an access key (Alt and the
// letter after "&") moves the focus to its button and clicks it.
enum class Event { Click, AccessKey, EnterKey, GotFocus };

enum class Handler { SelectInput, Test, Clear, About, End };

struct EventHandler {
    Control control;
    Event event;
    Handler handler;
};

// The form's handlers and what runs them. Nothing else is handled: the
// lists, the label and the window's size have no handlers.
inline constexpr EventHandler event_handlers[] = {
    {Control::input_num, Event::GotFocus, Handler::SelectInput},
    {Control::input_num, Event::EnterKey, Handler::Test},
    {Control::cmd_test, Event::Click, Handler::Test},
    {Control::cmd_clr, Event::Click, Handler::Clear},
    {Control::cmd_abort, Event::Click, Handler::About},
    {Control::cmd_end, Event::Click, Handler::End},
};

inline constexpr std::u16string_view about_title = u"关于本软件";
// Three lines joined by a bare line feed, no carriage returns.
inline constexpr std::u16string_view about_text = FORTPAD_PRODUCT_NAME u",ver1.1\n"
                                                  u"本工具纯属个人娱乐,切勿当真！\n"
                                                  u"编程:" FORTPAD_TEAM_ZH u"," FORTPAD_EMAIL;

} // namespace fortpad
