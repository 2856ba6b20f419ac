#pragma once

#include "control_ids.h"
#include "form.h"
#include "form_behaviour.h"
#include "gdi_handles.h"
#include "screen_reader_annotations.h"
#include "win32_boxes.h"

#include <windows.h>

#include <optional>

namespace fortpad {

inline constexpr DWORD window_style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// What the window keeps for its life, reached through GWLP_USERDATA, and what
// it does for the form.
struct FormState final : FormToolkit {
    FormState(HWND form_window, const ControlWindows& control_windows)
        : window(form_window)
        , controls(control_windows)
    {
    }

    HWND control(Control name) const { return controls[index_of(name)]; }

    void set_client_size(PixelSize size) override;
    void place(Control control, const PixelRect& rect) override;
    void focus(Control control) override;
    void beep() override;
    void show_about_box(std::u16string_view title, std::u16string_view text) override;
    void end_program() override;

    const HWND window;
    const ControlWindows controls;
    Win32InputBox input_box{control(Control::input_num)};
    Win32ResultList good_box{control(Control::good_box)};
    Win32ResultList bad_num{control(Control::bad_num)};
    FormBehaviour form{FormBoxes{input_box, good_box, bad_num}, *this};
    unique_hfont font;
    unique_hicon big_icon;
    unique_hicon small_icon;
    std::optional<ScreenReaderAnnotations> screen_reader_annotations;
    int dpi = USER_DEFAULT_SCREEN_DPI;
    // Where the focus was when the window was last deactivated.
    HWND focus_to_restore = nullptr;
    // Set while the input gets the focus without a change of focus inside
    // the window (the window coming back) or by a click, which places the
    // caret itself: then the input is not selected.
    bool focus_keeps_selection = false;
};

inline FormState* form_state(HWND form) { return reinterpret_cast<FormState*>(GetWindowLongPtrW(form, GWLP_USERDATA)); }

} // namespace fortpad
