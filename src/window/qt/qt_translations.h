#pragma once

class QLocale;

namespace fortpad {

// Loads Qt's own texts (the message box's OK button, the edit menus) for the
// locale, when Qt ships them. Lasts for the rest of the program.
void install_qt_translations(const QLocale& locale);

} // namespace fortpad
