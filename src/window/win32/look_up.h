#pragma once

#include <windows.h>

namespace fortpad {

// A function of a newer Windows, looked up in `module` when the program
// runs, so that it still starts where the function is missing: null there.
template <typename Function>
Function look_up(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace fortpad
