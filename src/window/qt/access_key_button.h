#pragma once

#include <QPushButton>

namespace fortpad {

// A button whose access key (Alt and the letter after "&") clicks it at once
// and moves the focus to it, instead of Qt's delayed, animated click.
class AccessKeyButton final : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    bool event(QEvent* event) override;
};

} // namespace fortpad
