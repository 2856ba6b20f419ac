#pragma once

#include <windows.h>

#include <cstdlib>

namespace fortpad {

// Runs a window procedure's work so that no exception unwinds through the
// system's frames, which know nothing of C++: a failure while the window is
// created fails its creation, and one later ends the program with exit
// code 1.
template <typename Work>
LRESULT guarded(UINT message, Work&& work) noexcept
{
    try {
        return work();
    } catch (...) {
        if (message == WM_CREATE)
            return -1;
        PostQuitMessage(EXIT_FAILURE);
        return 0;
    }
}

} // namespace fortpad
