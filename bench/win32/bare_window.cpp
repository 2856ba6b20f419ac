// The floor for start-up: a window with the same eight controls as fortpad,
// at the same places at 96 DPI, in the same font, and no logic.
#include "product.h"

#include <windows.h>

namespace {

LRESULT CALLBACK bare_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, wparam, lparam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = bare_procedure;
    cls.hInstance = instance;
    cls.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
    cls.lpszClassName = L"bare";
    RegisterClassExW(&cls);
    const auto* title = reinterpret_cast<const wchar_t*>(FORTPAD_PRODUCT_NAME);
    const HWND window = CreateWindowExW(0, L"bare", title, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                        CW_USEDEFAULT, 718, 370, nullptr, nullptr, instance, nullptr);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    const struct {
        const wchar_t *cls, *text;
        DWORD style;
        int x, y, w, h;
    } controls[] = {
        {L"BUTTON", L"关于&a", BS_PUSHBUTTON, 496, 8, 65, 25},
        {L"BUTTON", L"清空&c", BS_PUSHBUTTON, 568, 8, 65, 25},
        {L"BUTTON", L"退出&x", BS_PUSHBUTTON, 640, 8, 65, 25},
        {L"EDIT", L"", ES_MULTILINE | WS_VSCROLL | WS_HSCROLL | WS_BORDER, 360, 40, 345, 297},
        {L"EDIT", L"", ES_MULTILINE | WS_VSCROLL | WS_HSCROLL | WS_BORDER, 8, 40, 345, 297},
        {L"EDIT", L"", ES_AUTOHSCROLL | WS_BORDER, 48, 8, 153, 18},
        {L"BUTTON", L"测一下&s", BS_PUSHBUTTON, 208, 8, 81, 25},
        {L"STATIC", L"数字：", SS_LEFT, 8, 8, 49, 17},
    };
    for (const auto& c : controls) {
        const HWND control = CreateWindowExW(0, c.cls, c.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | c.style, c.x, c.y,
                                             c.w, c.h, window, nullptr, instance, nullptr);
        SendMessageW(control, WM_SETFONT, WPARAM(font), FALSE);
    }
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DeleteObject(font);
    return 0;
}
