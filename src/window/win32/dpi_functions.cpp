#include "dpi_functions.h"

#include "look_up.h"

namespace fortpad {
namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

struct DpiFunctions {
    GetDpiForWindowFunction get_dpi_for_window;
    SystemParametersInfoForDpiFunction system_parameters_info_for_dpi;
    AdjustWindowRectExForDpiFunction adjust_window_rect_ex_for_dpi;
};

const DpiFunctions& dpi_functions()
{
    static const DpiFunctions functions = [] {
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return DpiFunctions{look_up<GetDpiForWindowFunction>(user32, "GetDpiForWindow"),
                            look_up<SystemParametersInfoForDpiFunction>(user32, "SystemParametersInfoForDpi"),
                            look_up<AdjustWindowRectExForDpiFunction>(user32, "AdjustWindowRectExForDpi")};
    }();
    return functions;
}

} // namespace

int system_dpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int dpi_for_window(HWND window)
{
    const auto get_dpi_for_window = dpi_functions().get_dpi_for_window;
    return get_dpi_for_window ? int(get_dpi_for_window(window)) : system_dpi();
}

NONCLIENTMETRICSW non_client_metrics(int dpi)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (const auto for_dpi = dpi_functions().system_parameters_info_for_dpi) {
        for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, UINT(dpi));
        return metrics;
    }
    // The system DPI's metrics; a window on a screen of another DPI (only
    // Windows 8.1 has those without the functions above) scales the font.
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, system_dpi());
    return metrics;
}

SIZE window_size_for_client(SIZE client, DWORD style, int dpi)
{
    RECT frame{0, 0, client.cx, client.cy};
    if (const auto for_dpi = dpi_functions().adjust_window_rect_ex_for_dpi)
        for_dpi(&frame, style, FALSE, 0, UINT(dpi));
    else
        AdjustWindowRectEx(&frame, style, FALSE, 0);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

} // namespace fortpad
