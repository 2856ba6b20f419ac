// The keyboard as the form expects it, on top of the EDIT control and the
// dialog keys of IsDialogMessage.
#include "form_state.h"
#include "form_window.h"
#include "number_test.h"

#include <commctrl.h>

namespace fortpad {
namespace {

bool is_key_down(LPARAM dialog_message, WPARAM key)
{
    const auto* message = reinterpret_cast<const MSG*>(dialog_message);
    return message && message->message == WM_KEYDOWN && message->wParam == key;
}

// Enter reaches the input only if it asks for it; then the KeyPress of
// Enter runs the test, and the single-line box answers the key with a beep.
// A click that brings the focus places the caret: no selecting all then.
LRESULT CALLBACK input_procedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                 DWORD_PTR form_address)
{
    FormState& form = *reinterpret_cast<FormState*>(form_address);
    switch (message) {
    case WM_GETDLGCODE:
        if (is_key_down(lparam, VK_RETURN))
            return DefSubclassProc(edit, message, wparam, lparam) | DLGC_WANTALLKEYS;
        break;
    case WM_CHAR:
        if (wparam != VK_RETURN)
            break;
        run_number_test(form.boxes);
        MessageBeep(MB_OK);
        return 0;
    case WM_LBUTTONDOWN: {
        form.focus_keeps_selection = true;
        const LRESULT result = DefSubclassProc(edit, message, wparam, lparam);
        form.focus_keeps_selection = false;
        return result;
    }
    }
    return DefSubclassProc(edit, message, wparam, lparam);
}

// A multi-line EDIT asks for every key: Tab would type a tab and Escape
// would close the window. Leave those two to the dialog keys, and do not
// let Tab select the whole list, where the next keystroke would replace it.
LRESULT CALLBACK list_procedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR)
{
    if (message != WM_GETDLGCODE)
        return DefSubclassProc(edit, message, wparam, lparam);
    LRESULT code = DefSubclassProc(edit, message, wparam, lparam) & ~DLGC_HASSETSEL;
    if (is_key_down(lparam, VK_TAB) || is_key_down(lparam, VK_ESCAPE))
        code &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
    return code;
}

// Alt and a button's letter, with or without Shift or Caps Lock, from any
// control: the button takes the focus and is clicked at once.
bool press_access_key(HWND form_window, WPARAM key)
{
    FormState* form = form_state(form_window);
    const auto button = form ? button_with_access_key(char16_t(key)) : std::nullopt;
    if (button)
        press_button(*form, *button);
    return button.has_value();
}

} // namespace

void subclass_input(FormState& form)
{
    SetWindowSubclass(form.control(Control::input_num), input_procedure, 0, DWORD_PTR(&form));
}

void subclass_list(HWND list) { SetWindowSubclass(list, list_procedure, 0, 0); }

void dispatch_message(HWND form, MSG& message)
{
    if (message.message == WM_SYSCHAR && press_access_key(form, message.wParam))
        return;
    if (IsDialogMessageW(form, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int run_message_loop(HWND form)
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        dispatch_message(form, message);
    return int(message.wParam);
}

} // namespace fortpad
