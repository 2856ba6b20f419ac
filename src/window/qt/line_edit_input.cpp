#include "line_edit_input.h"

#include "qt_strings.h"

#include <QLineEdit>

namespace fortpad {

LineEditInput::LineEditInput(QLineEdit& edit)
    : edit_(edit)
{
}

std::u16string LineEditInput::text() const { return edit_.text().toStdU16String(); }

void LineEditInput::set_text(std::u16string_view text) { edit_.setText(to_qstring(text)); }

void LineEditInput::set_sel_start(std::size_t start) { edit_.setCursorPosition(to_qt_position(start)); }

void LineEditInput::set_sel_length(std::size_t length)
{
    const int start = edit_.hasSelectedText() ? edit_.selectionStart() : edit_.cursorPosition();
    edit_.setSelection(start, to_qt_position(length));
}

void LineEditInput::set_focus() { edit_.setFocus(); }

} // namespace fortpad
