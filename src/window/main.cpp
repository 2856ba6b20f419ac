#include "fortpad.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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
    app.setWindowIcon(QIcon(QStringLiteral(":/fortpad.png")));

    // Qt's own texts, such as the message box's OK, in the desktop's language.
    QTranslator qt_texts;
    if (qt_texts.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qt_texts);

    fortpad::Fortpad window;
    window.show();
    return app.exec();
}
