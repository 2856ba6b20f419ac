#include "qt_input_box.h"

#include "qt_strings.h"

#include <QLineEdit>

namespace fortpad {

QtInputBox::QtInputBox(QLineEdit& edit)
    : edit_(edit)
{
}

std::u16string QtInputBox::text() const { return edit_.text().toStdU16String(); }

void QtInputBox::set_text(std::u16string_view text) { edit_.setText(to_qstring(text)); }

void QtInputBox::set_sel_start(std::size_t start) { edit_.setCursorPosition(to_qt_position(start)); }

void QtInputBox::set_sel_length(std::size_t length)
{
    const int start = edit_.hasSelectedText() ? edit_.selectionStart() : edit_.cursorPosition();
    edit_.setSelection(start, to_qt_position(length));
}

void QtInputBox::set_focus() { edit_.setFocus(); }

} // namespace fortpad
