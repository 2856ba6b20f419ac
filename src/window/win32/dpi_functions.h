#pragma once

#include <windows.h>

#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4 // sent by Windows 10 1703 and later
#endif

namespace fortpad {

// The per-monitor DPI functions of Windows 10 1607 and later, looked up when
// first used; on older Windows, Windows 7's functions for the system DPI
// stand in, so the program starts there too.

// The DPI of the primary screen, which Windows' system metrics are for.
int system_dpi();

// The DPI the window is drawn at.
int dpi_for_window(HWND window);

// The system's metrics (the message font among them) for `dpi`.
NONCLIENTMETRICSW non_client_metrics(int dpi);

// The window size whose client area is `client`, for `dpi`.
SIZE window_size_for_client(SIZE client, DWORD style, int dpi);

} // namespace fortpad
