#pragma once

#include "form.h"

#include <QPlainTextEdit>

namespace fortpad {

// A result list's widget: editable, unwrapped, both scroll bars, Tab moving
// on, its text in its own colour, and its selection shown only while it has
// the focus, whatever the theme.
class ListEdit final : public QPlainTextEdit {
    Q_OBJECT

public:
    ListEdit(Rgb text_colour, QWidget* parent);

protected:
    void changeEvent(QEvent* event) override;

private:
    void hide_inactive_selection();
};

} // namespace fortpad
