// Shows the window after a few sample tests and writes it, frame included,
// as a 24-bit BMP; tools/screenshot-windows.sh runs it under Wine and turns
// the BMP into docs/screenshot-windows.png.
#include "win32_boxes.h"
#include "form_state.h"
#include "form_window.h"
#include "message_loop.h"
#include "sample_numbers.h"

#include <windows.h>

#include <cstdio>
#include <vector>

using namespace fortpad;

namespace {

void settle(HWND form)
{
    MSG message;
    do {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            dispatch_message(form, message);
    } while (MsgWaitForMultipleObjects(0, nullptr, FALSE, 200, QS_ALLINPUT) != WAIT_TIMEOUT);
}

bool write_bmp(const wchar_t* path, HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<char> pixels(std::size_t((width * 3 + 3) & ~3) * std::size_t(height));
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GetDIBits(memory, bitmap, 0, UINT(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
              DIB_RGB_COLORS);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);

    const BITMAPFILEHEADER file{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof header + pixels.size()), 0, 0,
                                sizeof(BITMAPFILEHEADER) + sizeof header};
    FILE* out = _wfopen(path, L"wb");
    if (!out)
        return false;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    return std::fclose(out) == 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fputs("usage: fortpad_screenshot OUTPUT.bmp\n", stderr);
        return 2;
    }
    const HWND form = create_form_window(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
    Win32InputBox input(GetDlgItem(form, control_id(Control::input_num)));
    for (const char16_t* number : sample_numbers) {
        input.set_text(number);
        SendMessageW(GetDlgItem(form, control_id(Control::cmd_test)), BM_CLICK, 0, 0);
    }
    settle(form);
    return write_bmp(argv[1], form) ? 0 : 1;
}
