#include "form_window.h"

#include "about_box.h"
#include "alt_key_guard.h"
#include "form_button.h"
#include "fortpad.xpm"
#include "input_edit.h"
#include "list_edit.h"
#include "qt_strings.h"

#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QStyle>

namespace fortpad {
namespace {

// Qt lays the window out in pixels of 96 dots per inch and scales them for
// the screen itself.
constexpr int qt_dpi = 96;

QWidget* create_control(QWidget& form, const ControlPlacement& placement)
{
    switch (placement.kind) {
    case ControlKind::Button:
        return new FormButton(to_qstring(placement.caption), &form);
    case ControlKind::Input:
        return new InputEdit(&form);
    case ControlKind::List:
        return new ListEdit(placement.text_colour.value(), &form);
    case ControlKind::Label:
        return new QLabel(to_qstring(placement.caption), &form);
    }
    return nullptr;
}

} // namespace

FormWindow::FormWindow()
    : controls_(create_controls(*this))
    , input_box_(control<InputEdit>(Control::input_num))
    , good_box_(control<ListEdit>(Control::good_box))
    , bad_num_(control<ListEdit>(Control::bad_num))
    , form_(FormBoxes{input_box_, good_box_, bad_num_}, *this)
{
    setObjectName(QStringLiteral("fortpad"));
    setWindowTitle(to_qstring(form_caption));
    setWindowIcon(QIcon(QPixmap::fromImage(QImage(fortpad_xpm))));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    lay_out();
    stack_in_tab_order();
    label_the_input();
    connect_events();
    // Qt hands the first focus to the input only if it is set before showing.
    form_.load();
}

FormWindow::Controls FormWindow::create_controls(QWidget& form)
{
    Controls controls{};
    auto* alt_key_guard = new AltKeyGuard(&form);
    for (const ControlPlacement& placement : form_controls) {
        QWidget* control = create_control(form, placement);
        control->setObjectName(QLatin1String(placement.name));
        control->setAccessibleName(to_qstring(accessible_name(placement)));
        if (placement.kind == ControlKind::Input || placement.kind == ControlKind::List)
            control->installEventFilter(alt_key_guard);
        controls[index_of(placement.control)] = control;
    }
    return controls;
}

// Screen readers list a window's controls in stacking order, so the same
// order serves the Tab key.
void FormWindow::stack_in_tab_order()
{
    QWidget* previous = nullptr;
    for (Control name : tab_order()) {
        QWidget* next = controls_[index_of(name)];
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    }
    for (Control name : stacking_order())
        controls_[index_of(name)]->raise();
}

// Screen readers also learn that the label belongs to the input.
void FormWindow::label_the_input() { control<QLabel>(Control::Label1).setBuddy(&control<QWidget>(Control::input_num)); }

void FormWindow::connect_events()
{
    for (const ControlPlacement& placement : form_controls) {
        QWidget* widget = controls_[index_of(placement.control)];
        const auto raise = [this, control = placement.control](Event event) { form_.handle(control, event); };
        if (auto* button = qobject_cast<FormButton*>(widget)) {
            connect(button, &FormButton::raised, this, raise);
            connect(button, &QPushButton::clicked, this, [raise] { raise(Event::Click); });
        } else if (auto* input = qobject_cast<InputEdit*>(widget)) {
            connect(input, &InputEdit::raised, this, raise);
        }
    }
}

// The form follows the application's font, which Qt takes from the desktop.
void FormWindow::lay_out()
{
    const QFont shown = font();
    const double points = shown.pointSizeF() > 0 ? shown.pointSizeF() : shown.pixelSize() * 72.0 / qt_dpi;
    const int line = QFontMetrics(shown).height();
    const auto frame = [this](Control name) {
        const QWidget& widget = control<QWidget>(name);
        return 2 * widget.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &widget);
    };
    form_.lay_out(qt_dpi, {points, line, line + frame(Control::input_num), line + frame(Control::cmd_test)});
}

bool FormWindow::event(QEvent* event)
{
    // A new interface font or size, while running: the form again at once.
    if (event->type() == QEvent::FontChange)
        lay_out();
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

void FormWindow::set_client_size(PixelSize size) { setFixedSize(size.width, size.height); }

void FormWindow::place(Control control, const PixelRect& rect)
{
    controls_[index_of(control)]->setGeometry(rect.left, rect.top, rect.width, rect.height);
}

void FormWindow::focus(Control control) { controls_[index_of(control)]->setFocus(Qt::ShortcutFocusReason); }

void FormWindow::beep() { QApplication::beep(); }

void FormWindow::show_about_box(std::u16string_view title, std::u16string_view text)
{
    fortpad::show_about_box(this, to_qstring(title), to_qstring(text));
}

void FormWindow::end_program() { QCoreApplication::exit(0); }

} // namespace fortpad
