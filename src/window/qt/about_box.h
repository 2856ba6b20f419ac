#pragma once

class QString;
class QWidget;

namespace fortpad {

// A modal box with a title, the text as it stands (line feeds break lines),
// one OK button and no icon; returns when it is dismissed.
void show_about_box(QWidget* parent, const QString& title, const QString& text);

} // namespace fortpad
