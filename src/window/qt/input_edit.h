#pragma once

#include "form.h"

#include <QLineEdit>

namespace fortpad {

// The single-line input: takes any length of text and reports the focus
// arriving and Enter as the form's events.
class InputEdit final : public QLineEdit {
    Q_OBJECT

public:
    explicit InputEdit(QWidget* parent);

signals:
    // GotFocus: the box received the focus from elsewhere in the window.
    // EnterKey: Enter or keypad Enter, alone or with Shift, before the box
    // itself sees the key.
    void raised(fortpad::Event event);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace fortpad
