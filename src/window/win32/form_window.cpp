#include "form_window.h"

#include "form_handlers.h"
#include "form_state.h"
#include "number_test.h"
#include "resource_ids.h"
#include "wide_text.h"

#include <commctrl.h>

#include <memory>

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

// Tab follows the z-order, so stack the controls in tab order; the label
// goes beneath everything, where it lies under the input.
void stack_in_tab_order(const FormState& form)
{
    constexpr UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    HWND above = HWND_TOP;
    for (Control control : tab_order()) {
        SetWindowPos(form.control(control), above, 0, 0, 0, 0, keep);
        above = form.control(control);
    }
    SetWindowPos(form.control(Control::Label1), HWND_BOTTOM, 0, 0, 0, 0, keep);
}

// Sizes the window so that its client area is the form's at `dpi`. The frame
// is measured rather than computed: Wine keeps the frame of the system DPI.
void set_client_size(HWND window, int dpi, const POINT* at)
{
    const SIZE client{to_pixels(client_width_twips, dpi), to_pixels(client_height_twips, dpi)};
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectExForDpi(&frame, window_style, FALSE, 0, UINT(dpi));
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (at ? 0 : SWP_NOMOVE);
    SetWindowPos(window, nullptr, at ? at->x : 0, at ? at->y : 0, frame.right - frame.left, frame.bottom - frame.top,
                 flags);
    RECT outer{}, inner{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &inner);
    if (inner.right != client.cx || inner.bottom != client.cy)
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + client.cx - inner.right,
                     outer.bottom - outer.top + client.cy - inner.bottom, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void set_font_for(FormState& form, int dpi)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, UINT(dpi));
    unique_hfont font(CreateFontIndirectW(&metrics.lfMessageFont));
    for (HWND control : form.controls)
        SendMessageW(control, WM_SETFONT, WPARAM(font.get()), TRUE);
    form.font = std::move(font);
}

// Sizes the window and places its controls for a screen of `dpi`; the window
// keeps its top-left corner unless `at` says where it goes.
void lay_out(FormState& form, int dpi, const POINT* at = nullptr)
{
    set_client_size(form.window, dpi, at);
    for (const ControlPlacement& p : form_controls)
        SetWindowPos(form.control(p.control), nullptr, to_pixels(p.left, dpi), to_pixels(p.top, dpi),
                     to_pixels(p.width, dpi), to_pixels(p.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    set_font_for(form, dpi);
}

void show_about_box(const FormState& form)
{
    MessageBoxW(form.window, to_wide(about_text).c_str(), to_wide(about_title).c_str(), MB_OK);
}

void click(FormState& form, Control button)
{
    switch (button) {
    case Control::cmd_test:
        run_number_test(form.boxes);
        break;
    case Control::cmd_clr:
        clear_everything(form);
        break;
    case Control::cmd_abort:
        show_about_box(form);
        break;
    case Control::cmd_end:
        DestroyWindow(form.window);
        break;
    default:
        break;
    }
}

void on_create(HWND window)
{
    auto form = std::make_unique<FormState>(window, create_controls(window));
    stack_in_tab_order(*form);
    lay_out(*form, int(GetDpiForWindow(window)));
    subclass_input(*form);
    subclass_list(form->control(Control::good_box));
    subclass_list(form->control(Control::bad_num));
    empty_lists(*form);
    SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(form.release()));
}

void on_command(FormState& form, int id, UINT code)
{
    // Enter with the focus on a button: the dialog keys send IDOK, as no
    // button is the default.
    if (id == IDOK) {
        for (const ControlPlacement& p : form_controls)
            if (p.kind == ControlKind::Button && GetFocus() == form.control(p.control))
                click(form, p.control);
        return;
    }
    const auto control = control_with_id(id);
    if (!control)
        return; // IDCANCEL: Escape never closes the window
    if (placement_of(*control).kind == ControlKind::Button && code == BN_CLICKED)
        click(form, *control);
    else if (*control == Control::input_num && code == EN_SETFOCUS && !form.focus_keeps_selection)
        select_all(form.input);
}

LRESULT on_ctl_color_edit(const FormState& form, HWND window, HDC dc, HWND edit)
{
    for (const ControlPlacement& p : form_controls)
        if (p.text_colour && form.control(p.control) == edit) {
            SetTextColor(dc, RGB(p.text_colour->red, p.text_colour->green, p.text_colour->blue));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return LRESULT(GetSysColorBrush(COLOR_WINDOW));
        }
    return DefWindowProcW(window, WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(edit));
}

// A plain window forgets its focused control when another window is
// activated: keep it, and when the window gets the focus back (activated,
// restored), hand it on without selecting the input again.
void on_deactivate(FormState& form)
{
    const HWND focus = GetFocus();
    if (focus && IsChild(form.window, focus))
        form.focus_to_restore = focus;
}

void on_set_focus(FormState& form)
{
    form.focus_keeps_selection = form.focus_to_restore != nullptr;
    SetFocus(form.focus_to_restore ? form.focus_to_restore : form.control(Control::input_num));
    form.focus_keeps_selection = false;
}

void on_dpi_changed(FormState& form, int dpi, const RECT& suggested)
{
    const POINT at{suggested.left, suggested.top};
    lay_out(form, dpi, &at);
}

LRESULT CALLBACK form_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    FormState* form = form_state(window);
    switch (message) {
    case WM_CREATE:
        on_create(window);
        return 0;
    case WM_COMMAND:
        if (form)
            on_command(*form, LOWORD(wparam), HIWORD(wparam));
        return 0;
    case WM_CTLCOLOREDIT:
        return form ? on_ctl_color_edit(*form, window, HDC(wparam), HWND(lparam))
                    : DefWindowProcW(window, message, wparam, lparam);
    case WM_ACTIVATE:
        if (form && LOWORD(wparam) == WA_INACTIVE)
            on_deactivate(*form);
        break; // the default gives the window the focus when activated
    case WM_SETFOCUS:
        if (form)
            on_set_focus(*form);
        return 0;
    case WM_DPICHANGED:
        if (form)
            on_dpi_changed(*form, LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        delete form;
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

void press_button(FormState& form, Control button)
{
    SetFocus(form.control(button));
    click(form, button);
}

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
