#include "about_box.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace fortpad {

void show_about_box(QWidget* parent, const QString& title, const QString& text)
{
    QDialog box(parent);
    box.setWindowTitle(title);
    auto* prompt = new QLabel(text, &box);
    prompt->setTextFormat(Qt::PlainText);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    // Where the style centres a message box's buttons, so does this box.
    buttons->setCenterButtons(box.style()->styleHint(QStyle::SH_MessageBox_CenterButtons, nullptr, &box));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(prompt);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    box.exec();
}

} // namespace fortpad
