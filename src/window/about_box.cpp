#include "about_box.h"

#include "qt_strings.h"

#include <QMessageBox>

namespace fortpad {
namespace {

constexpr char16_t about_title[] = u"关于本软件";
// Joined by a bare line feed: three lines, no carriage returns.
constexpr char16_t about_text[] = u"Orvantil,ver1.1\n"
                                  u"本工具纯属个人娱乐,切勿当真！\n"
                                  u"编程:fortpad开发组,fortpad@example.org";

} // namespace

void show_about_box(QWidget* parent)
{
    QMessageBox box(QMessageBox::NoIcon, to_qstring(about_title), to_qstring(about_text), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace fortpad
