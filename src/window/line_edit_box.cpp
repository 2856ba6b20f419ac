#include "line_edit_box.h"

#include "qt_strings.h"

#include <QLineEdit>

namespace fortpad {

LineEditBox::LineEditBox(QLineEdit& edit)
    : edit_(edit)
{
}

std::u16string LineEditBox::text() const { return edit_.text().toStdU16String(); }

void LineEditBox::set_text(std::u16string_view text) { edit_.setText(to_qstring(text)); }

void LineEditBox::append(std::u16string_view tail) { edit_.setText(edit_.text() + to_qstring(tail)); }

void LineEditBox::set_sel_start(std::size_t start) { edit_.setCursorPosition(to_qt_position(start)); }

void LineEditBox::set_sel_length(std::size_t length)
{
    const int start = edit_.hasSelectedText() ? edit_.selectionStart() : edit_.cursorPosition();
    edit_.setSelection(start, to_qt_position(length));
}

void LineEditBox::set_focus() { edit_.setFocus(); }

} // namespace fortpad
