#pragma once

#include "form.h"

#include <QPushButton>

namespace fortpad {

// A push button that reports its access key (Alt and the letter after "&",
// with or without Shift) and Enter while it has the focus as the form's
// events, instead of Qt's delayed, animated click for the one and nothing
// for the other. Mouse clicks and Space come as `clicked`.
class FormButton final : public QPushButton {
    Q_OBJECT

public:
    FormButton(const QString& caption, QWidget* parent);

signals:
    void raised(fortpad::Event event);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace fortpad
