#pragma once

#include <windows.h>

namespace fortpad {

// Creates the form `fortpad` and shows it as `show` asks; null on failure.
HWND create_form_window(HINSTANCE instance, int show);

// Routes one message the way the form expects: its access keys first, then
// the dialog keys (Tab, Enter, Escape), then the control it is meant for.
void dispatch_message(HWND form, MSG& message);

// Runs until the form ends and returns the program's exit code.
int run_message_loop(HWND form);

} // namespace fortpad
