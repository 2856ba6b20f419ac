#include "form_window.h"

#include "form_state.h"
#include "resource_ids.h"
#include "wide_text.h"

#include <commctrl.h>

#include <memory>
#include <optional>

namespace fortpad {
namespace {

constexpr wchar_t window_class[] = L"fortpad";
constexpr DWORD window_style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD ex_style;
};

ControlClass class_of(ControlKind kind)
{
    constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    switch (kind) {
    case ControlKind::Button:
        return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::Input:
        return {L"EDIT", child | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::List:
        return {L"EDIT",
                child | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL
                    | ES_WANTRETURN,
                WS_EX_CLIENTEDGE};
    case ControlKind::Label:
        return {L"STATIC", child | SS_LEFT | SS_NOPREFIX, 0};
    }
    return {};
}

ControlWindows create_controls(HWND form)
{
    ControlWindows controls{};
    const auto instance = HINSTANCE(GetWindowLongPtrW(form, GWLP_HINSTANCE));
    for (const ControlPlacement& placement : form_controls) {
        const ControlClass cls = class_of(placement.kind);
        const HWND control = CreateWindowExW(cls.ex_style, cls.name, to_wide(placement.caption).c_str(), cls.style,
                                             0, 0, 0, 0, form, HMENU(INT_PTR(control_id(placement.control))),
                                             instance, nullptr);
        if (placement.kind == ControlKind::Input || placement.kind == ControlKind::List)
            SendMessageW(control, EM_SETLIMITTEXT, 0, 0); // else 32,767 (Windows) or 30,000 (Wine)
        controls[index_of(placement.control)] = control;
    }
    return controls;
}

// Tab and screen readers walk the z-order from the top: the controls go
// there in tab order, and the label to the bottom of the form's stack.
void stack_controls(const FormState& state)
{
    constexpr UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    HWND above = HWND_TOP;
    for (Control control : tab_order()) {
        SetWindowPos(state.control(control), above, 0, 0, 0, 0, keep);
        above = state.control(control);
    }
    SetWindowPos(state.control(stacking_order().front()), HWND_BOTTOM, 0, 0, 0, 0, keep);
}

void set_font_for(FormState& state, int dpi)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, UINT(dpi));
    unique_hfont font(CreateFontIndirectW(&metrics.lfMessageFont));
    for (HWND control : state.controls)
        SendMessageW(control, WM_SETFONT, WPARAM(font.get()), TRUE);
    state.font = std::move(font);
}

// Sizes the window and places its controls for a screen of `dpi`.
void lay_out(FormState& state, int dpi)
{
    state.dpi = dpi;
    state.form.lay_out(dpi);
    set_font_for(state, dpi);
}

void on_create(HWND window)
{
    auto state = std::make_unique<FormState>(window, create_controls(window));
    stack_controls(*state);
    lay_out(*state, int(GetDpiForWindow(window)));
    for (const ControlPlacement& placement : form_controls)
        if (placement.kind == ControlKind::Input)
            subclass_input(*state, placement.control);
        else if (placement.kind == ControlKind::List)
            subclass_list(state->control(placement.control));
    state->form.load();
    SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(state.release()));
}

std::optional<Control> control_of(const FormState& state, HWND window)
{
    return window && GetParent(window) == state.window ? control_with_id(GetDlgCtrlID(window)) : std::nullopt;
}

void on_command(FormState& state, int id, UINT code)
{
    // Enter with the focus on a button: the dialog keys send IDOK, as no
    // button is the default.
    if (id == IDOK) {
        if (const auto focused = control_of(state, GetFocus()))
            state.form.handle(*focused, Event::EnterKey);
        return;
    }
    const auto control = control_with_id(id);
    if (!control)
        return; // IDCANCEL: Escape never closes the window
    const ControlKind kind = placement_of(*control).kind;
    if (kind == ControlKind::Button && code == BN_CLICKED)
        state.form.handle(*control, Event::Click);
    else if (kind == ControlKind::Input && code == EN_SETFOCUS && !state.focus_keeps_selection)
        state.form.handle(*control, Event::GotFocus);
}

LRESULT on_ctl_color_edit(const FormState& state, HWND window, HDC dc, HWND edit)
{
    for (const ControlPlacement& p : form_controls)
        if (p.text_colour && state.control(p.control) == edit) {
            SetTextColor(dc, RGB(p.text_colour->red, p.text_colour->green, p.text_colour->blue));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return LRESULT(GetSysColorBrush(COLOR_WINDOW));
        }
    return DefWindowProcW(window, WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(edit));
}

// A plain window forgets its focused control when another window is
// activated: keep it, and when the window gets the focus back (activated,
// restored), hand it on without selecting the input again.
void on_deactivate(FormState& state)
{
    const HWND focus = GetFocus();
    if (focus && IsChild(state.window, focus))
        state.focus_to_restore = focus;
}

void on_set_focus(FormState& state)
{
    state.focus_keeps_selection = state.focus_to_restore != nullptr;
    SetFocus(state.focus_to_restore ? state.focus_to_restore : state.control(tab_order().front()));
    state.focus_keeps_selection = false;
}

void on_dpi_changed(FormState& state, int dpi, const RECT& suggested)
{
    SetWindowPos(state.window, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    lay_out(state, dpi);
}

LRESULT CALLBACK form_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    FormState* state = form_state(window);
    switch (message) {
    case WM_CREATE:
        on_create(window);
        return 0;
    case WM_COMMAND:
        if (state)
            on_command(*state, LOWORD(wparam), HIWORD(wparam));
        return 0;
    case WM_CTLCOLOREDIT:
        return state ? on_ctl_color_edit(*state, window, HDC(wparam), HWND(lparam))
                    : DefWindowProcW(window, message, wparam, lparam);
    case WM_ACTIVATE:
        if (state && LOWORD(wparam) == WA_INACTIVE)
            on_deactivate(*state);
        break; // the default gives the window the focus when activated
    case WM_SETFOCUS:
        if (state)
            on_set_focus(*state);
        return 0;
    case WM_DPICHANGED:
        if (state)
            on_dpi_changed(*state, LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        delete state;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

bool register_window_class(HINSTANCE instance)
{
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = form_procedure;
    cls.hInstance = instance;
    cls.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(FORTPAD_ICON_ID));
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
    cls.lpszClassName = window_class;
    return RegisterClassExW(&cls) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

// Sizes the window so that its client area is `size`. The frame is measured
// rather than computed: Wine keeps the frame of the system DPI.
void FormState::set_client_size(PixelSize size)
{
    RECT frame{0, 0, size.width, size.height};
    AdjustWindowRectExForDpi(&frame, window_style, FALSE, 0, UINT(dpi));
    constexpr UINT keep = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE;
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, keep);
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

// WM_NCDESTROY deletes this state before DestroyWindow returns.
void FormState::end_program() { DestroyWindow(window); }

HWND create_form_window(HINSTANCE instance, int show)
{
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!register_window_class(instance))
        return nullptr;
    // The size follows the window's DPI, known once it exists (WM_CREATE).
    const HWND form = CreateWindowExW(0, window_class, to_wide(form_caption).c_str(), window_style, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (form) {
        ShowWindow(form, show);
        UpdateWindow(form);
    }
    return form;
}

} // namespace fortpad
