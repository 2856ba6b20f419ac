#pragma once

#include "text_box.h"

class QPlainTextEdit;
class QTextCursor;

namespace fortpad {

// The text box operations on a multi-line Qt edit holding a result list.
//
// Lines are separated by CR LF in the text, as the list entries expect.
// A CR or LF that is not part of a CR LF pair (or another character Qt would
// turn into a line break) is kept as itself: it is shown as its control
// picture and read back unchanged, so a list never alters what was written.
class PlainTextBox final : public TextBox {
public:
    explicit PlainTextBox(QPlainTextEdit& edit);

    std::u16string text() const override;
    void set_text(std::u16string_view text) override;
    // Adds at the end through a cursor of its own: no read-back of the list.
    void append(std::u16string_view tail) override;
    void set_sel_start(std::size_t start) override;
    void set_sel_length(std::size_t length) override;
    void set_focus() override;

private:
    void insert_at_end(std::u16string_view text);
    int clamped_position(std::size_t position) const;

    QPlainTextEdit& edit_;
};

} // namespace fortpad
