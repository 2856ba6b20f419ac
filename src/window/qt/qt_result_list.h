#pragma once

#include "text_boxes.h"

class QPlainTextEdit;

namespace fortpad {

// A result list on a multi-line Qt edit.
//
// Lines are separated by CR LF in the text, as in the entries.
// A CR or LF that is not part of a CR LF pair (or another character Qt would
// turn into a line break) is kept as itself: it is shown as a small box with
// its name and read back unchanged, so a list never alters what was written.
class QtResultList final : public ResultList {
public:
    explicit QtResultList(QPlainTextEdit& edit);

    // The whole text, exactly as written and typed.
    std::u16string text() const;
    void set_text(std::u16string_view text) override;
    // Adds at the end through a cursor of its own: no read-back of the list.
    void append(std::u16string_view tail) override;
    // From the list's widget, where Qt has announcements (6.8 and later).
    void announce(std::u16string_view entry) override;

private:
    void insert_at_end(std::u16string_view text);

    QPlainTextEdit& edit_;
};

} // namespace fortpad
