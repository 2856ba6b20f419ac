#pragma once

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <string>
#include <string_view>

namespace fortpad {

// wchar_t is UTF-16 on Windows, so the two string types convert by copying.
inline std::wstring to_wide(std::u16string_view text) { return {text.begin(), text.end()}; }

// A window's whole text. A Win32 text ends at its first NUL.
inline std::u16string window_text(HWND window)
{
    std::wstring text(std::size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return {text.begin(), text.end()};
}

// Edit controls count positions in int.
inline WPARAM edit_position(std::size_t position) { return std::min<std::size_t>(position, INT_MAX); }

} // namespace fortpad
