// Linked into the start-up probes: once the program's window and all its
// controls have painted, sets the event that the harness named in
// FORTPAD_FIRST_PAINT_EVENT; the harness then measures and ends the process.
#include <windows.h>

namespace {

HANDLE first_paint = nullptr;

BOOL CALLBACK note_visible(HWND window, LPARAM found) { return !(*reinterpret_cast<bool*>(found) = IsWindowVisible(window)); }

bool window_shown()
{
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), note_visible, LPARAM(&found));
    return found;
}

// A thread timer's WM_TIMER comes only when no WM_PAINT is waiting, so the
// first one after the window shows marks the end of its first paint.
LRESULT CALLBACK watch_messages(int code, WPARAM removed, LPARAM message_address)
{
    const auto& message = *reinterpret_cast<const MSG*>(message_address);
    if (code == HC_ACTION && removed == PM_REMOVE && message.message == WM_TIMER && !message.hwnd && first_paint
        && window_shown() && !(HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT)) {
        SetEvent(first_paint);
        first_paint = nullptr;
        KillTimer(nullptr, message.wParam);
    }
    return CallNextHookEx(nullptr, code, removed, message_address);
}

const bool installed = [] {
    wchar_t name[128] = {};
    if (!GetEnvironmentVariableW(L"FORTPAD_FIRST_PAINT_EVENT", name, 128))
        return false;
    first_paint = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
    SetTimer(nullptr, 0, USER_TIMER_MINIMUM, nullptr);
    return SetWindowsHookExW(WH_GETMESSAGE, watch_messages, nullptr, GetCurrentThreadId()) != nullptr;
}();

} // namespace
