// Renders the window after a few sample tests and writes it as a PNG:
//   QT_QPA_PLATFORM=offscreen fortpad_screenshot docs/screenshot.png
#include "form_window.h"
#include "qt_strings.h"
#include "sample_numbers.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: fortpad_screenshot OUTPUT.png\n", stderr);
        return 2;
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
