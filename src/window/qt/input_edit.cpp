#include "input_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include <limits>

namespace fortpad {

InputEdit::InputEdit(QWidget* parent)
    : QLineEdit(parent)
{
    // Qt's default cap is 32,767 characters, and 0 would refuse all input.
    setMaxLength(std::numeric_limits<int>::max());
    // The box is 18 pixels high. A Chinese font's line is taller than that,
    // mostly room above Latin letters and digits: centred, the line would
    // lose the bottoms of g, j, p, q, y and _; set on the bottom, it keeps
    // them and loses only empty room at the top.
    setAlignment(Qt::AlignLeft | Qt::AlignBottom);
}

void InputEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // Switching back from another program or closing a context menu is no
    // change of focus inside the window: the selection stays as it was.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit raised(Event::GotFocus);
}

void InputEdit::keyPressEvent(QKeyEvent* event)
{
    const bool enter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
                       && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (enter)
        emit raised(Event::EnterKey);
    QLineEdit::keyPressEvent(event);
}

} // namespace fortpad
