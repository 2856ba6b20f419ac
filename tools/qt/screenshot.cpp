// Renders the window after a few sample tests and writes it as a PNG, in the
// interface font given (as "family,points") or the default one:
//   QT_QPA_PLATFORM=offscreen fortpad_screenshot docs/screenshot.png [FONT]
#include "form_window.h"
#include "qt_strings.h"
#include "sample_numbers.h"

#include <QApplication>
#include <QFont>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fputs("usage: fortpad_screenshot OUTPUT.png [FAMILY,POINTS]\n", stderr);
        return 2;
    }
    if (argc == 3) {
        QFont font;
        font.fromString(QString::fromLocal8Bit(argv[2]));
        QApplication::setFont(font);
    }
    fortpad::FormWindow form;
    form.show();
    auto* input = form.findChild<QLineEdit*>(QStringLiteral("input_num"));
    auto* test = form.findChild<QPushButton*>(QStringLiteral("cmd_test"));
    for (const char16_t* number : sample_numbers) {
        input->setText(fortpad::to_qstring(number));
        test->click();
    }
    return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
