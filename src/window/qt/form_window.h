#pragma once

#include "form.h"
#include "form_behaviour.h"
#include "qt_input_box.h"
#include "qt_result_list.h"

#include <QWidget>

#include <array>

namespace fortpad {

// The program's one window: the form's controls as Qt widgets, their events
// passed to the form's behaviour.
class FormWindow final : public QWidget, private FormToolkit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FormWindow)

public:
    FormWindow();

protected:
    bool event(QEvent* event) override;

private:
    template <typename Widget>
    Widget& control(Control name) const
    {
        return *static_cast<Widget*>(controls_[index_of(name)]);
    }

    using Controls = std::array<QWidget*, form_controls.size()>;
    static Controls create_controls(QWidget& form);
    void lay_out();
    void stack_in_tab_order();
    void label_the_input();
    void connect_events();

    void set_client_size(PixelSize size) override;
    void place(Control control, const PixelRect& rect) override;
    void focus(Control control) override;
    void beep() override;
    void show_about_box(std::u16string_view title, std::u16string_view text) override;
    void end_program() override;

    const Controls controls_;
    QtInputBox input_box_;
    QtResultList good_box_;
    QtResultList bad_num_;
    FormBehaviour form_;
    bool painted_ = false;
};

} // namespace fortpad
