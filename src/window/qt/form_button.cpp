#include "form_button.h"

#include <QKeyEvent>
#include <QShortcut>
#include <QShortcutEvent>

namespace fortpad {

FormButton::FormButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent)
{
    // Qt's access key is Alt and the letter only; Alt+Shift+letter too.
    const QKeySequence access_key = QKeySequence::mnemonic(caption);
    if (!access_key.isEmpty()) {
        const QKeyCombination shifted(Qt::AltModifier | Qt::ShiftModifier, access_key[0].key());
        connect(new QShortcut(QKeySequence(shifted), this), &QShortcut::activated, this,
                [this] { emit raised(Event::AccessKey); });
    }
}

bool FormButton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut && !static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
        emit raised(Event::AccessKey);
        return true;
    }
    return QPushButton::event(event);
}

void FormButton::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !(event->modifiers() & ~Qt::KeypadModifier))
        emit raised(Event::EnterKey);
    else
        QPushButton::keyPressEvent(event);
}

} // namespace fortpad
