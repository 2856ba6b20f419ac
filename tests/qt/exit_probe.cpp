// Starts the real window, ends it the way the first argument names
// ("click", "alt+x" or "close") and returns what the event loop returned, so
// CTest can check the program's exit code.
#include "fortpad.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString how = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    fortpad::Fortpad form;
    form.show();
    if (!QTest::qWaitForWindowActive(&form))
        return 4; // access keys only reach an active window
    QTimer::singleShot(0, &form, [&] {
        if (how == u"click")
            QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("cmd_end")), Qt::LeftButton);
        else if (how == u"alt+x")
            QTest::keyClick(&form, Qt::Key_X, Qt::AltModifier);
        else if (how == u"close")
            form.close();
    });
    // A window that does not end fails the test instead of hanging it.
    QTimer::singleShot(10'000, [] { std::exit(3); });
    return app.exec();
}
