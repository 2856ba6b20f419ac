#pragma once

#include "text_boxes.h"

#include <windows.h>

namespace fortpad {

// The input box operations on a single-line EDIT control.
class EditInput final : public InputBox {
public:
    explicit EditInput(HWND edit)
        : edit_(edit)
    {
    }

    std::u16string text() const override;
    void set_text(std::u16string_view text) override;
    void set_sel_start(std::size_t start) override;
    void set_sel_length(std::size_t length) override;
    void set_focus() override;

private:
    HWND edit_;
};

// A result list on a multi-line EDIT control, which keeps CR LF as its line
// break and reads back exactly what was written.
class EditList final : public ResultList {
public:
    explicit EditList(HWND edit)
        : edit_(edit)
    {
    }

    std::u16string text() const;
    void set_text(std::u16string_view text);
    // Replaces the empty selection at the end: no read-back of the list.
    void append(std::u16string_view tail) override;

private:
    HWND edit_;
};

} // namespace fortpad
