#include "form_window.h"
#include "message_loop.h"

#include <cstdlib>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    const HWND form = fortpad::create_form_window(instance, show);
    return form ? fortpad::run_message_loop(form) : EXIT_FAILURE;
}
