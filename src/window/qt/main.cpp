#include "display_guard.h"
#include "form_window.h"
#include "qt_translations.h"

#include <QApplication>
#include <QLocale>

#include <memory>

int main(int argc, char* argv[])
{
    // Who the program is, so that desktop shells match its window (X11
    // WM_CLASS, Wayland app id) to its menu entry and icon.
    QApplication::setApplicationName(QStringLiteral(FORTPAD_EXECUTABLE));
    QApplication::setApplicationVersion(QStringLiteral(FORTPAD_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(FORTPAD_APP_ID));

    auto display_guard = std::make_unique<fortpad::DisplayGuard>();
    QApplication app(argc, argv);
    display_guard.reset();
    fortpad::install_qt_translations(QLocale::system());

    fortpad::FormWindow window;
    window.show();
    return app.exec();
}
