#pragma once

#include "form.h"
#include "line_edit_input.h"
#include "plain_text_list.h"

#include <QWidget>

#include <array>

namespace fortpad {

class InputLineEdit;

// The program's one window.
class Fortpad final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Fortpad)

public:
    Fortpad();

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
    void set_tab_order();
    void label_the_input();
    void connect_handlers();

    void load();
    void number_test();
    void clear_everything();

    const Controls controls_;
    LineEditInput input_box_;
    PlainTextList good_list_;
    PlainTextList bad_list_;
    const FormBoxes boxes_{input_box_, good_list_, bad_list_};
    bool painted_ = false;
};

} // namespace fortpad
