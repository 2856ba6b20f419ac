#include "fortpad.h"
#include "qt_translations.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>
#include <cstdlib>

namespace {

bool is_set(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

// Without a display Qt aborts with a core dump; say plainly what is wrong.
bool display_available()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return is_set("DISPLAY") || is_set("WAYLAND_DISPLAY") || is_set("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

} // namespace

int main(int argc, char* argv[])
{
    if (!display_available()) {
        std::fputs("fortpad: no display to show the window on (DISPLAY and WAYLAND_DISPLAY are not set)\n", stderr);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    fortpad::install_qt_translations(QLocale::system());

    fortpad::Fortpad window;
    window.show();
    return app.exec();
}
