#pragma once

#include <windows.h>

namespace fortpad {

// Routes one message of the form's thread: the form's access keys first,
// then the dialog keys (Tab, Enter, Escape), then the control it is meant for.
void dispatch_message(HWND form, MSG& message);

// Runs until the form ends and returns the program's exit code.
int run_message_loop(HWND form);

} // namespace fortpad
