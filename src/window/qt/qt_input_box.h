#pragma once

#include "text_boxes.h"

class QLineEdit;

namespace fortpad {

// The input box operations on a single-line Qt edit.
class QtInputBox final : public InputBox {
public:
    explicit QtInputBox(QLineEdit& edit);

    std::u16string text() const override;
    void set_text(std::u16string_view text) override;
    void set_sel_start(std::size_t start) override;
    void set_sel_length(std::size_t length) override;
    void set_focus() override;

private:
    QLineEdit& edit_;
};

} // namespace fortpad
