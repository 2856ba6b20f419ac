#include "about_box.h"

#include "form.h"
#include "qt_strings.h"

#include <QMessageBox>

namespace fortpad {

void show_about_box(QWidget* parent)
{
    QMessageBox box(QMessageBox::NoIcon, to_qstring(about_title), to_qstring(about_text), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace fortpad
