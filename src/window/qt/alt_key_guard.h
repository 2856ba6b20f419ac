#pragma once

#include <QObject>

namespace fortpad {

// Qt types the letter of an Alt+letter that is no access key into the focused
// text box; a Windows text box only beeps. Installed on the text boxes.
class AltKeyGuard final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace fortpad
