// The floor for start-up: a window with the same eight widgets as fortpad, at
// the same places, and no logic.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(712, 345);
    (new QPushButton(QStringLiteral("关于&a"), &window))->setGeometry(496, 8, 65, 25);
    (new QPushButton(QStringLiteral("清空&c"), &window))->setGeometry(568, 8, 65, 25);
    (new QPushButton(QStringLiteral("退出&x"), &window))->setGeometry(640, 8, 65, 25);
    (new QPlainTextEdit(&window))->setGeometry(360, 40, 345, 297);
    (new QPlainTextEdit(&window))->setGeometry(8, 40, 345, 297);
    (new QLineEdit(&window))->setGeometry(48, 8, 153, 18);
    (new QPushButton(QStringLiteral("测一下&s"), &window))->setGeometry(208, 8, 81, 25);
    (new QLabel(QStringLiteral("数字："), &window))->setGeometry(8, 8, 49, 17);
    window.show();
    return app.exec();
}
