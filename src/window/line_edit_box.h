#pragma once

#include "text_box.h"

class QLineEdit;

namespace fortpad {

// The text box operations on a single-line Qt edit.
class LineEditBox final : public TextBox {
public:
    explicit LineEditBox(QLineEdit& edit);

    std::u16string text() const override;
    void set_text(std::u16string_view text) override;
    void append(std::u16string_view tail) override;
    void set_sel_start(std::size_t start) override;
    void set_sel_length(std::size_t length) override;
    void set_focus() override;

private:
    QLineEdit& edit_;
};

} // namespace fortpad
