// Starts the real window, ends it the way the first argument names
// ("click", "alt+x", "enter" on the focused exit button, or "close") and returns what the event loop returned, so
// CTest can check the program's exit code.
#include "form_window.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString how = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    fortpad::FormWindow form;
    form.show();
    if (!QTest::qWaitForWindowActive(&form))
        return 4; // access keys only reach an active window
    auto* end = form.findChild<QPushButton*>(QStringLiteral("cmd_end"));
    QTimer::singleShot(0, &form, [&] {
        if (how == u"click") {
            QTest::mouseClick(end, Qt::LeftButton);
        } else if (how == u"alt+x") {
            QTest::keyClick(&form, Qt::Key_X, Qt::AltModifier);
        } else if (how == u"enter") {
            end->setFocus();
            QTest::keyClick(end, Qt::Key_Return);
        } else if (how == u"close") {
            form.close();
        }
    });
    // A window that does not end fails the test instead of hanging it.
    QTimer::singleShot(10'000, [] { std::exit(3); });
    return app.exec();
}
