#pragma once

#include <QPushButton>

namespace fortpad {

// A push button that behaves as on the platform the form comes from: its
// access key (Alt and the letter after "&", with or without Shift) moves
// the focus to it and clicks it at once, instead of Qt's delayed, animated
// click; and Enter clicks it while it has the focus, as no button is the
// form's default.
class FormButton final : public QPushButton {
    Q_OBJECT

public:
    FormButton(const QString& caption, QWidget* parent);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void press_by_access_key();
};

} // namespace fortpad
