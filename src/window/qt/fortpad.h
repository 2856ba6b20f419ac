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

    struct Boxes {
        LineEditInput input;
        PlainTextList good;
        PlainTextList bad;
    };

    const Controls controls_;
    Boxes boxes_;
    const FormBoxes reckoning_boxes_{boxes_.input, boxes_.good, boxes_.bad};
    bool painted_ = false;
};

} // namespace fortpad
