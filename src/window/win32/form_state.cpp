// What the window does for the form: its size, the controls' places, the
// focus, the beep, the about box and the end.
#include "form_state.h"

#include "dpi_functions.h"
#include "wide_text.h"

namespace fortpad {

// Sizes the window so that its client area is `size`. The frame is measured
// rather than computed: Wine keeps the frame of the system DPI.
void FormState::set_client_size(PixelSize size)
{
    const SIZE outer_size = window_size_for_client({size.width, size.height}, window_style, dpi);
    constexpr UINT keep = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE;
    SetWindowPos(window, nullptr, 0, 0, outer_size.cx, outer_size.cy, keep);
    RECT outer{}, inner{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &inner);
    if (inner.right != size.width || inner.bottom != size.height)
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + size.width - inner.right,
                     outer.bottom - outer.top + size.height - inner.bottom, keep);
}

void FormState::place(Control name, const PixelRect& rect)
{
    SetWindowPos(control(name), nullptr, rect.left, rect.top, rect.width, rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormState::focus(Control name) { SetFocus(control(name)); }

void FormState::beep() { MessageBeep(MB_OK); }

void FormState::show_about_box(std::u16string_view title, std::u16string_view text)
{
    MessageBoxW(window, to_wide(text).c_str(), to_wide(title).c_str(), MB_OK);
}

// Gone from the screen at once; the window, and this state with it, is
// destroyed once the running handler has returned.
void FormState::end_program()
{
    ShowWindow(window, SW_HIDE);
    PostMessageW(window, WM_CLOSE, 0, 0);
}

} // namespace fortpad
