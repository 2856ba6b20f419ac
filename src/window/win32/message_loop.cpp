#include "message_loop.h"

#include "form_state.h"

namespace fortpad {
namespace {

// Alt and a button's letter, with or without Shift or Caps Lock, from any
// control.
bool press_access_key(HWND form, WPARAM key)
{
    FormState* state = form_state(form);
    return state && state->form.press_access_key(char16_t(key));
}

} // namespace

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
