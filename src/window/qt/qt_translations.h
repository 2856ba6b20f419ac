#pragma once

class QLocale;

namespace fortpad {

// Loads Qt's own texts (the message box's OK button, the edit menus) for the
// locale, when Qt ships them, but never its right-to-left mirroring. Lasts
// for the rest of the program.
void install_qt_translations(const QLocale& locale);

} // namespace fortpad
