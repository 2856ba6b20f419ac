#include "alt_key_guard.h"

#include <QApplication>
#include <QKeyEvent>

namespace fortpad {

bool AltKeyGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    // Ctrl+Alt is AltGr on Windows layouts and does type characters.
    const bool alt_only = (key->modifiers() & Qt::AltModifier) && !(key->modifiers() & Qt::ControlModifier);
    if (!alt_only || key->text().isEmpty() || !key->text().at(0).isPrint())
        return false;
    QApplication::beep();
    return true;
}

} // namespace fortpad
