#include "form_window.h"
#include "message_loop.h"

#include <cstdlib>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    const HWND form = fortpad::create_form_window(instance, show);
    if (!form) {
        fortpad::report_start_failure();
        return EXIT_FAILURE;
    }
    return fortpad::run_message_loop(form);
}
