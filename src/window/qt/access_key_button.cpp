#include "access_key_button.h"

#include <QShortcutEvent>

namespace fortpad {

bool AccessKeyButton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut && !static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
        setFocus(Qt::ShortcutFocusReason);
        click();
        return true;
    }
    return QPushButton::event(event);
}

} // namespace fortpad
