#include "fortpad.h"

#include "about_box.h"
#include "access_key_button.h"
#include "alt_key_guard.h"
#include "form_controls.h"
#include "fortpad.xpm"
#include "input_box.h"
#include "number_test.h"
#include "qt_strings.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>

#include <algorithm>

namespace fortpad {
namespace {

QRect to_pixels(const ControlPlacement& placement)
{
    return {placement.left / twips_per_pixel, placement.top / twips_per_pixel, placement.width / twips_per_pixel,
            placement.height / twips_per_pixel};
}

QPlainTextEdit* create_list(QWidget& form, QRgb text_colour)
{
    auto* list = new QPlainTextEdit(&form);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setTabChangesFocus(true);
    QPalette palette = list->palette();
    palette.setColor(QPalette::Text, QColor::fromRgb(text_colour));
    list->setPalette(palette);
    return list;
}

QWidget* create_control(QWidget& form, const ControlPlacement& placement)
{
    switch (placement.kind) {
    case ControlKind::Button:
        return new AccessKeyButton(to_qstring(placement.caption), &form);
    case ControlKind::Input:
        return new InputBox(&form);
    case ControlKind::List:
        return create_list(form, placement.text_colour);
    case ControlKind::Label:
        return new QLabel(to_qstring(placement.caption), &form);
    }
    return nullptr;
}

template <typename Control>
Control* control_named(QWidget& form, const char* name)
{
    return form.findChild<Control*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

void set_tab_order(QWidget& form)
{
    auto by_tab_index = form_controls;
    std::sort(by_tab_index.begin(), by_tab_index.end(),
              [](const ControlPlacement& a, const ControlPlacement& b) { return a.tab_index < b.tab_index; });
    QWidget* previous = nullptr;
    for (const ControlPlacement& placement : by_tab_index) {
        if (placement.kind == ControlKind::Label)
            continue; // a label never takes the focus
        auto* control = control_named<QWidget>(form, placement.name);
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

} // namespace

Fortpad::Fortpad()
    : controls_(create_controls(*this))
    , input_box_(*controls_.input_num)
    , good_list_(*controls_.good_box)
    , bad_list_(*controls_.bad_num)
{
    setObjectName(QStringLiteral("fortpad"));
    setWindowTitle(to_qstring(form_caption));
    setWindowIcon(QIcon(QPixmap::fromImage(QImage(fortpad_xpm))));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(client_width_twips / twips_per_pixel, client_height_twips / twips_per_pixel);

    connect(controls_.input_num, &InputBox::got_focus, this, [this] { select_all(input_box_); });
    connect(controls_.input_num, &InputBox::enter_pressed, this, &Fortpad::number_test);
    connect(controls_.cmd_test, &QPushButton::clicked, this, &Fortpad::number_test);
    connect(controls_.cmd_clr, &QPushButton::clicked, this, &Fortpad::clear_everything);
    connect(controls_.cmd_abort, &QPushButton::clicked, this, [this] { show_about_box(this); });
    connect(controls_.cmd_end, &QPushButton::clicked, this, [] { QCoreApplication::exit(0); });

    load();
}

Fortpad::Controls Fortpad::create_controls(QWidget& form)
{
    auto* alt_key_guard = new AltKeyGuard(&form);
    for (const ControlPlacement& placement : form_controls) {
        QWidget* control = create_control(form, placement);
        control->setObjectName(QLatin1String(placement.name));
        control->setGeometry(to_pixels(placement));
        if (placement.kind == ControlKind::Label)
            control->lower();
        if (placement.kind == ControlKind::Input || placement.kind == ControlKind::List)
            control->installEventFilter(alt_key_guard);
    }
    set_tab_order(form);
    return {control_named<InputBox>(form, "input_num"),     control_named<QPlainTextEdit>(form, "good_box"),
            control_named<QPlainTextEdit>(form, "bad_num"),  control_named<QPushButton>(form, "cmd_test"),
            control_named<QPushButton>(form, "cmd_clr"),     control_named<QPushButton>(form, "cmd_abort"),
            control_named<QPushButton>(form, "cmd_end")};
}

void Fortpad::load()
{
    bad_list_.set_text(u"");
    good_list_.set_text(u"");
    // Qt hands the first focus to the input only if it is set before showing.
    input_box_.set_focus();
}

void Fortpad::number_test() { run_number_test(boxes_); }

void Fortpad::clear_everything()
{
    bad_list_.set_text(u"");
    good_list_.set_text(u"");
    input_box_.set_text(u"");
    input_box_.set_focus();
}

} // namespace fortpad
