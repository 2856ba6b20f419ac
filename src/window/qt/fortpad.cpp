#include "fortpad.h"

#include "about_box.h"
#include "alt_key_guard.h"
#include "form_button.h"
#include "form_handlers.h"
#include "fortpad.xpm"
#include "input_line_edit.h"
#include "number_test.h"
#include "qt_strings.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>

namespace fortpad {
namespace {

// Qt's own high-DPI scaling takes care of other screens.
constexpr int qt_dpi = 96;

QRect pixel_rect(const ControlPlacement& placement)
{
    return {to_pixels(placement.left, qt_dpi), to_pixels(placement.top, qt_dpi), to_pixels(placement.width, qt_dpi),
            to_pixels(placement.height, qt_dpi)};
}

QPlainTextEdit* create_list(QWidget& form, Rgb text_colour)
{
    auto* list = new QPlainTextEdit(&form);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setTabChangesFocus(true);
    const QColor text(text_colour.red, text_colour.green, text_colour.blue);
    QPalette palette = list->palette();
    palette.setColor(QPalette::Text, text);
    // A text box shows its selection only while it has the focus.
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, text);
    list->setPalette(palette);
    return list;
}

QWidget* create_control(QWidget& form, const ControlPlacement& placement)
{
    switch (placement.kind) {
    case ControlKind::Button:
        return new FormButton(to_qstring(placement.caption), &form);
    case ControlKind::Input:
        return new InputLineEdit(&form);
    case ControlKind::List:
        return create_list(form, placement.text_colour.value());
    case ControlKind::Label:
        return new QLabel(to_qstring(placement.caption), &form);
    }
    return nullptr;
}

} // namespace

Fortpad::Fortpad()
    : controls_(create_controls(*this))
    , boxes_{LineEditInput(control<InputLineEdit>(Control::input_num)),
             PlainTextList(control<QPlainTextEdit>(Control::good_box)),
             PlainTextList(control<QPlainTextEdit>(Control::bad_num))}
{
    setObjectName(QStringLiteral("fortpad"));
    setWindowTitle(to_qstring(form_caption));
    setWindowIcon(QIcon(QPixmap::fromImage(QImage(fortpad_xpm))));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(to_pixels(client_width_twips, qt_dpi), to_pixels(client_height_twips, qt_dpi));
    set_tab_order();
    label_the_input();
    connect_handlers();
    load();
}

Fortpad::Controls Fortpad::create_controls(QWidget& form)
{
    Controls controls{};
    auto* alt_key_guard = new AltKeyGuard(&form);
    for (const ControlPlacement& placement : form_controls) {
        QWidget* control = create_control(form, placement);
        control->setObjectName(QLatin1String(placement.name));
        control->setGeometry(pixel_rect(placement));
        control->setAccessibleName(to_qstring(placement.accessible_name));
        if (placement.kind == ControlKind::Input || placement.kind == ControlKind::List)
            control->installEventFilter(alt_key_guard);
        controls[index_of(placement.control)] = control;
    }
    return controls;
}

// Tab order, and the same order for screen readers, which list a window's
// controls in stacking order: stacked in tab order, with the label beneath
// them all, where it lies under the input and is read before it.
void Fortpad::set_tab_order()
{
    QWidget* previous = nullptr;
    for (Control name : tab_order()) {
        QWidget* next = controls_[index_of(name)];
        if (previous)
            QWidget::setTabOrder(previous, next);
        next->raise();
        previous = next;
    }
    control<QLabel>(Control::Label1).lower();
}

// For screen readers the label names the input; its colon is no part of
// the name.
void Fortpad::label_the_input()
{
    auto& label = control<QLabel>(Control::Label1);
    auto& input = control<QWidget>(Control::input_num);
    label.setBuddy(&input);
    input.setAccessibleName(label.text().remove(QChar(u'：')));
}

void Fortpad::connect_handlers()
{
    auto& input = control<InputLineEdit>(Control::input_num);
    const auto number_test = [this] { run_number_test(reckoning_boxes_); };
    connect(&input, &InputLineEdit::got_focus, this, [this] { select_all(boxes_.input); });
    connect(&input, &InputLineEdit::enter_pressed, this, number_test);
    connect(&control<QPushButton>(Control::cmd_test), &QPushButton::clicked, this, number_test);
    connect(&control<QPushButton>(Control::cmd_clr), &QPushButton::clicked, this, [this] { clear_everything(boxes_); });
    connect(&control<QPushButton>(Control::cmd_abort), &QPushButton::clicked, this, [this] { show_about_box(this); });
    connect(&control<QPushButton>(Control::cmd_end), &QPushButton::clicked, this, [] { QCoreApplication::exit(0); });
}

bool Fortpad::event(QEvent* event)
{
    // Finding the icon in the desktop's theme takes milliseconds: do it once
    // the window has painted, with the compiled-in icon until then.
    if (event->type() == QEvent::Paint && !painted_) {
        painted_ = true;
        QMetaObject::invokeMethod(
            this, [this] { setWindowIcon(QIcon::fromTheme(QStringLiteral(FORTPAD_APP_ID), windowIcon())); },
            Qt::QueuedConnection);
    }
    return QWidget::event(event);
}

void Fortpad::load()
{
    empty_lists(boxes_);
    // Qt hands the first focus to the input only if it is set before showing.
    boxes_.input.set_focus();
}

} // namespace fortpad
