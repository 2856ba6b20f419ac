// Keys in the text boxes, on top of the EDIT control and the dialog keys of
// IsDialogMessage.
#include "keyboard.h"

#include "form_state.h"
#include "guarded.h"

#include <commctrl.h>

namespace fortpad {
namespace {

bool is_key_down(LPARAM dialog_message, WPARAM key)
{
    const auto* message = reinterpret_cast<const MSG*>(dialog_message);
    return message && message->message == WM_KEYDOWN && message->wParam == key;
}

// Enter reaches the input only if it asks for it; the form then hears it
// and the EDIT control never does (it would beep a second time). A click
// that brings the focus places the caret: no selecting all then.
LRESULT handle_input_message(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, Control input,
                             FormState& state)
{
    switch (message) {
    case WM_GETDLGCODE:
        if (is_key_down(lparam, VK_RETURN))
            return DefSubclassProc(edit, message, wparam, lparam) | DLGC_WANTALLKEYS;
        break;
    case WM_CHAR:
        if (wparam != VK_RETURN)
            break;
        state.form.handle(input, Event::EnterKey);
        return 0;
    case WM_LBUTTONDOWN: {
        state.focus_keeps_selection = true;
        const LRESULT result = DefSubclassProc(edit, message, wparam, lparam);
        state.focus_keeps_selection = false;
        return result;
    }
    }
    return DefSubclassProc(edit, message, wparam, lparam);
}

LRESULT CALLBACK input_procedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR input,
                                 DWORD_PTR state_address)
{
    // A subclass ends with its window, as SetWindowSubclass asks.
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(edit, input_procedure, input);
    FormState& state = *reinterpret_cast<FormState*>(state_address);
    return guarded(message, [&] { return handle_input_message(edit, message, wparam, lparam, Control(input), state); });
}

// A multi-line EDIT asks for every key: Tab would type a tab and Escape
// would close the window. Leave those two to the dialog keys, and do not
// let Tab select the whole list, where the next keystroke would replace it.
LRESULT CALLBACK list_procedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(edit, list_procedure, 0);
    if (message != WM_GETDLGCODE)
        return DefSubclassProc(edit, message, wparam, lparam);
    LRESULT code = DefSubclassProc(edit, message, wparam, lparam) & ~DLGC_HASSETSEL;
    if (is_key_down(lparam, VK_TAB) || is_key_down(lparam, VK_ESCAPE))
        code &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
    return code;
}

} // namespace

void subclass_input(FormState& state, Control input)
{
    SetWindowSubclass(state.control(input), input_procedure, UINT_PTR(input), DWORD_PTR(&state));
}

void subclass_list(HWND list) { SetWindowSubclass(list, list_procedure, 0, 0); }

} // namespace fortpad
