#include "about_box.h"

#include "form.h"
#include "qt_strings.h"

#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>

namespace fortpad {
namespace {

// Qt keeps an indent for the icon in its first column even when there is
// none: without it, the text sits evenly between the box's margins.
void drop_icon_indent(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    auto* text = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!grid || !text)
        return;
    for (int i = grid->count() - 1; i >= 0; --i)
        if (QSpacerItem* indent = grid->itemAt(i)->spacerItem()) {
            grid->removeItem(indent);
            delete indent;
        }
    grid->removeWidget(text);
    grid->addWidget(text, 0, 0, 1, grid->columnCount());
}

} // namespace

void show_about_box(QWidget* parent)
{
    QMessageBox box(QMessageBox::NoIcon, to_qstring(about_title), to_qstring(about_text), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    drop_icon_indent(box);
    box.exec();
}

} // namespace fortpad
