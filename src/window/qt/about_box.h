#pragma once

class QWidget;

namespace fortpad {

// The modal about box: title, three lines and an OK button, no icon.
void show_about_box(QWidget* parent);

} // namespace fortpad
