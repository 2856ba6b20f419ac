#pragma once

#include <windows.h>

namespace fortpad {

// Creates the form `fortpad` and shows it as `show` asks; null on failure,
// with nothing left behind.
HWND create_form_window(HINSTANCE instance, int show);

// Tells the user, in one message box, that the window could not be created.
void report_start_failure();

} // namespace fortpad
