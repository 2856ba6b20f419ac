#pragma once

#include <QLineEdit>

namespace fortpad {

// The single-line input: reports focus and Enter the way the form's handlers
// expect them, and takes any length of text.
class InputLineEdit final : public QLineEdit {
    Q_OBJECT

public:
    explicit InputLineEdit(QWidget* parent);

signals:
    // The box received the focus from elsewhere in the window.
    void got_focus();
    // Enter or keypad Enter, alone or with Shift; runs before the box itself
    // answers the key.
    void enter_pressed();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace fortpad
