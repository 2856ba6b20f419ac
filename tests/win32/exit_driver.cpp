// Starts fortpad.exe, ends it the way the second argument names ("click",
// "alt+x", "enter" on the focused exit button, or "close") and returns the
// program's exit code.
#include "control_ids.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK find_form(HWND window, LPARAM search_address)
{
    auto& search = *reinterpret_cast<Search*>(search_address);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t cls[16] = {};
    GetClassNameW(window, cls, 16);
    if (process == search.process && std::wstring_view(cls) == L"fortpad" && IsWindowVisible(window))
        search.found = window;
    return !search.found;
}

// Keys go to the focused window: wait until the form has the focus.
bool has_focus(HWND form)
{
    for (int tries = 0; tries < 200; ++tries) {
        SetForegroundWindow(form);
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &gui) && gui.hwndFocus
            && IsChild(form, gui.hwndFocus))
            return true;
        Sleep(50);
    }
    return false;
}

INPUT key(WORD code, DWORD flags)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.dwFlags = flags;
    return input;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
        return 2;
    const std::wstring_view how = argv[2];
    std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 3;

    Search search{process.dwProcessId, nullptr};
    for (int tries = 0; tries < 200 && !search.found; ++tries) {
        Sleep(50);
        EnumWindows(find_form, LPARAM(&search));
    }
    if (search.found) {
        if (how == L"click") {
            SendMessageW(GetDlgItem(search.found, fortpad::control_id(fortpad::Control::cmd_end)), BM_CLICK, 0, 0);
        } else if (how == L"alt+x" && has_focus(search.found)) {
            INPUT keys[] = {key(VK_MENU, 0), key('X', 0), key('X', KEYEVENTF_KEYUP), key(VK_MENU, KEYEVENTF_KEYUP)};
            SendInput(4, keys, sizeof(INPUT));
        } else if (how == L"enter" && has_focus(search.found)) {
            // From the input, Tab reaches the exit button fourth.
            std::vector<INPUT> keys;
            for (int tabs = 0; tabs < 4; ++tabs)
                keys.insert(keys.end(), {key(VK_TAB, 0), key(VK_TAB, KEYEVENTF_KEYUP)});
            keys.insert(keys.end(), {key(VK_RETURN, 0), key(VK_RETURN, KEYEVENTF_KEYUP)});
            SendInput(UINT(keys.size()), keys.data(), sizeof(INPUT));
        } else if (how == L"close") {
            PostMessageW(search.found, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
    }
    // A program that does not end fails the test instead of hanging it; a
    // loaded machine may take seconds to start and end it.
    if (WaitForSingleObject(process.hProcess, 30'000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 4);
        return 4;
    }
    DWORD code = 5;
    GetExitCodeProcess(process.hProcess, &code);
    return int(code);
}
