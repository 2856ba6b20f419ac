#include "win32_boxes.h"

#include "entry_announcements.h"
#include "wide_text.h"

namespace fortpad {

std::u16string Win32InputBox::text() const { return window_text(edit_); }

void Win32InputBox::set_text(std::u16string_view text) { SetWindowTextW(edit_, to_wide(text).c_str()); }

void Win32InputBox::set_sel_start(std::size_t start)
{
    SendMessageW(edit_, EM_SETSEL, edit_position(start), LPARAM(edit_position(start)));
}

void Win32InputBox::set_sel_length(std::size_t length)
{
    // The pointer form of EM_GETSEL, as its return value stops at 65,535.
    DWORD start = 0;
    SendMessageW(edit_, EM_GETSEL, WPARAM(&start), 0);
    SendMessageW(edit_, EM_SETSEL, start, LPARAM(edit_position(start + length)));
}

void Win32InputBox::set_focus() { SetFocus(edit_); }

std::u16string Win32ResultList::text() const { return window_text(edit_); }

void Win32ResultList::set_text(std::u16string_view text) { SetWindowTextW(edit_, to_wide(text).c_str()); }

void Win32ResultList::append(std::u16string_view tail)
{
    // EM_SETSEL(-1, -1) leaves the caret in place under Wine: give the end.
    const WPARAM end = edit_position(std::size_t(GetWindowTextLengthW(edit_)));
    SendMessageW(edit_, EM_SETSEL, end, LPARAM(end));
    SendMessageW(edit_, EM_REPLACESEL, FALSE, LPARAM(to_wide(tail).c_str()));
    // Written text is not the user's typing: nothing to undo, and the list
    // shows its text from the top, as after any whole-text write.
    SendMessageW(edit_, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageW(edit_, EM_SETSEL, 0, 0);
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

void Win32ResultList::announce(std::u16string_view entry) { announce_entry(edit_, entry); }

} // namespace fortpad
