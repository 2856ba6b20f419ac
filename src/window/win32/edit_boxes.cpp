#include "edit_boxes.h"

#include "wide_text.h"

namespace fortpad {

std::u16string EditInput::text() const { return window_text(edit_); }

void EditInput::set_text(std::u16string_view text) { SetWindowTextW(edit_, to_wide(text).c_str()); }

void EditInput::set_sel_start(std::size_t start)
{
    SendMessageW(edit_, EM_SETSEL, edit_position(start), LPARAM(edit_position(start)));
}

void EditInput::set_sel_length(std::size_t length)
{
    // The pointer form of EM_GETSEL, as its return value stops at 65,535.
    DWORD start = 0;
    SendMessageW(edit_, EM_GETSEL, WPARAM(&start), 0);
    SendMessageW(edit_, EM_SETSEL, start, LPARAM(edit_position(start + length)));
}

void EditInput::set_focus() { SetFocus(edit_); }

std::u16string EditList::text() const { return window_text(edit_); }

void EditList::set_text(std::u16string_view text) { SetWindowTextW(edit_, to_wide(text).c_str()); }

void EditList::append(std::u16string_view tail)
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

} // namespace fortpad
