#pragma once

#include "line_edit_box.h"
#include "plain_text_box.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace fortpad {

class InputBox;

// The program's one window.
class Fortpad final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Fortpad)

public:
    Fortpad();

private:
    struct Controls {
        InputBox* input_num;
        QPlainTextEdit* good_box;
        QPlainTextEdit* bad_num;
        QPushButton* cmd_test;
        QPushButton* cmd_clr;
        QPushButton* cmd_abort;
        QPushButton* cmd_end;
    };
    static Controls create_controls(QWidget& form);

    void load();
    void number_test();
    void clear_everything();

    const Controls controls_;
    LineEditBox input_box_;
    PlainTextBox good_list_;
    PlainTextBox bad_list_;
    const FormBoxes boxes_{input_box_, good_list_, bad_list_};
};

} // namespace fortpad
