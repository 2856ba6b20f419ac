#include "form_window.h"

#include "dpi_functions.h"
#include "form_state.h"
#include "guarded.h"
#include "keyboard.h"
#include "resource_ids.h"
#include "wide_text.h"

#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace fortpad {
namespace {

constexpr wchar_t window_class[] = L"fortpad";

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

// Null when a control cannot be created (a desktop out of resources).
std::optional<ControlWindows> create_controls(HWND form)
{
    ControlWindows controls{};
    const auto instance = HINSTANCE(GetWindowLongPtrW(form, GWLP_HINSTANCE));
    for (const ControlPlacement& placement : form_controls) {
        const ControlClass cls = class_of(placement.kind);
        const HWND control = CreateWindowExW(cls.ex_style, cls.name, to_wide(placement.caption).c_str(), cls.style,
                                             0, 0, 0, 0, form, HMENU(INT_PTR(control_id(placement.control))),
                                             instance, nullptr);
        if (!control)
            return std::nullopt;
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

// The system's message font for `dpi` (which Windows' text size enlarges
// too), and how the layout needs it measured.
struct MessageFont {
    unique_hfont font;
    InterfaceFont measured;
};

// Measured as the controls show it: a whole line in the label, and with the
// 3-D edges and a pixel of margin in the boxes and buttons; its size in
// points from its height at `dpi` (negative: the em; positive: the cell,
// leading included).
MessageFont message_font(int dpi)
{
    const NONCLIENTMETRICSW metrics = non_client_metrics(dpi);
    unique_hfont font(CreateFontIndirectW(&metrics.lfMessageFont));
    TEXTMETRICW text{};
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, font.get());
    GetTextMetricsW(screen, &text);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    const int em = metrics.lfMessageFont.lfHeight < 0 ? -metrics.lfMessageFont.lfHeight
                                                       : text.tmHeight - text.tmInternalLeading;
    const int edges = 2 * MulDiv(GetSystemMetrics(SM_CYEDGE), dpi, system_dpi());
    const int line = text.tmHeight;
    return {std::move(font), {em * 72.0 / dpi, line, line + edges + 1, line + edges + 2}};
}

// Gives every control the message font for `dpi`; returns its measure.
InterfaceFont set_font_for(FormState& state, int dpi)
{
    MessageFont message = message_font(dpi);
    for (HWND control : state.controls)
        SendMessageW(control, WM_SETFONT, WPARAM(message.font.get()), TRUE);
    state.font = std::move(message.font);
    return message.measured;
}

// The icon at the size `metric` has at the system DPI, scaled to `dpi`; the
// icon file holds that size for each usual scale.
HICON load_icon(HINSTANCE instance, int metric, int dpi, UINT flags = 0)
{
    const int size = MulDiv(GetSystemMetrics(metric), dpi, system_dpi());
    return HICON(LoadImageW(instance, MAKEINTRESOURCEW(FORTPAD_ICON_ID), IMAGE_ICON, size, size, flags));
}

// The title bar's and the taskbar's icons, sharp at the window's DPI.
void set_icons_for(FormState& state, int dpi)
{
    const auto instance = HINSTANCE(GetWindowLongPtrW(state.window, GWLP_HINSTANCE));
    unique_hicon big(load_icon(instance, SM_CXICON, dpi));
    unique_hicon small(load_icon(instance, SM_CXSMICON, dpi));
    SendMessageW(state.window, WM_SETICON, ICON_BIG, LPARAM(big.get()));
    SendMessageW(state.window, WM_SETICON, ICON_SMALL, LPARAM(small.get()));
    state.big_icon = std::move(big);
    state.small_icon = std::move(small);
}

// Sizes the window, places its controls and chooses its font and icons for
// a screen of `dpi`.
void lay_out(FormState& state, int dpi)
{
    state.dpi = dpi;
    state.form.lay_out(dpi, set_font_for(state, dpi));
    set_icons_for(state, dpi);
}

// False when the window cannot be made whole: its creation then fails.
bool on_create(HWND window)
{
    const auto controls = create_controls(window);
    if (!controls)
        return false;
    auto state = std::make_unique<FormState>(window, *controls);
    stack_controls(*state);
    lay_out(*state, dpi_for_window(window));
    state->screen_reader_annotations.emplace(state->controls);
    state->form.load();
    // Last: the subclasses keep a pointer to the state, which nothing after
    // this may free.
    for (const ControlPlacement& placement : form_controls)
        if (placement.kind == ControlKind::Input)
            subclass_input(*state, placement.control);
        else if (placement.kind == ControlKind::List)
            subclass_list(state->control(placement.control));
    SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(state.release()));
    return true;
}

std::optional<Control> control_of(const FormState& state, HWND window)
{
    return window && GetParent(window) == state.window ? control_with_id(GetDlgCtrlID(window)) : std::nullopt;
}

// A push button that takes the focus shows the default frame; no button of
// the form is the default, so the frame goes with the focus, also where the
// focus moves without the dialog keys (after a handler, by a click).
void drop_default_frames(const FormState& state)
{
    for (const ControlPlacement& placement : form_controls) {
        const HWND button = state.control(placement.control);
        const bool framed = (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        if (placement.kind == ControlKind::Button && framed)
            SendMessageW(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
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
    if (code == EN_SETFOCUS)
        drop_default_frames(state);
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

// `lost`: where the focus was. A window restored from an icon may take the
// focus from its own control without having been deactivated.
void on_set_focus(FormState& state, HWND lost)
{
    const HWND back = state.focus_to_restore ? state.focus_to_restore : IsChild(state.window, lost) ? lost : nullptr;
    state.focus_keeps_selection = back != nullptr;
    SetFocus(back ? back : state.control(tab_order().front()));
    state.focus_keeps_selection = false;
}

// Windows asks before a move to a screen of another DPI: the window's size
// there is the form's, exactly.
void on_get_dpi_scaled_size(int dpi, SIZE& size)
{
    const PixelSize client = client_size(dpi, font_scale(message_font(dpi).measured.points));
    size = window_size_for_client({client.width, client.height}, window_style, dpi);
}

void on_dpi_changed(FormState& state, int dpi, const RECT& suggested)
{
    SetWindowPos(state.window, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    lay_out(state, dpi);
}

LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    FormState* state = form_state(window);
    switch (message) {
    case WM_CREATE:
        return on_create(window) ? 0 : -1;
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
            on_set_focus(*state, HWND(wparam));
        return 0;
    case WM_SIZE:
        // Activated while minimised, the window got no focus; restored, it
        // hands the focus on as when activated.
        if (state && wparam == SIZE_RESTORED && GetActiveWindow() == window && !IsChild(window, GetFocus()))
            on_set_focus(*state, nullptr);
        break;
    case WM_GETDPISCALEDSIZE:
        on_get_dpi_scaled_size(int(wparam), *reinterpret_cast<SIZE*>(lparam));
        return TRUE;
    case WM_SETTINGCHANGE:
        // A new message font or text size: the form again at once.
        if (state && wparam == SPI_SETNONCLIENTMETRICS)
            lay_out(*state, state->dpi);
        break;
    case WM_DPICHANGED:
        if (state)
            on_dpi_changed(*state, LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
        return 0;
    case WM_DESTROY:
        if (state)
            state->screen_reader_annotations.reset(); // while the controls live
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        delete state;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK form_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return guarded(message, [&] { return handle_message(window, message, wparam, lparam); });
}

bool register_window_class(HINSTANCE instance)
{
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = form_procedure;
    cls.hInstance = instance;
    // For the system's DPI; each window sets its own for its DPI.
    cls.hIcon = load_icon(instance, SM_CXICON, system_dpi(), LR_SHARED);
    cls.hIconSm = load_icon(instance, SM_CXSMICON, system_dpi(), LR_SHARED);
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
    cls.lpszClassName = window_class;
    return RegisterClassExW(&cls) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

void report_start_failure()
{
    const std::wstring title = to_wide(form_caption);
    const std::wstring text = title + L" 无法启动：无法创建程序窗口，系统资源可能不足。请关闭一些程序后再试。";
    MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
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
