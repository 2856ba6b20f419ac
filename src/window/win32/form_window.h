#pragma once

#include <windows.h>

namespace fortpad {

// Creates the form `fortpad` and shows it as `show` asks; null on failure.
HWND create_form_window(HINSTANCE instance, int show);

} // namespace fortpad
