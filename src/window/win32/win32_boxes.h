#pragma once

#include "text_boxes.h"

#include <windows.h>

namespace fortpad {

// The input box operations on a single-line EDIT control.
class Win32InputBox final : public InputBox {
public:
    explicit Win32InputBox(HWND edit)
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
class Win32ResultList final : public ResultList {
public:
    explicit Win32ResultList(HWND edit)
        : edit_(edit)
    {
    }

    std::u16string text() const;
    void set_text(std::u16string_view text) override;
    // Replaces the empty selection at the end: no read-back of the list.
    void append(std::u16string_view tail) override;
    void announce(std::u16string_view entry) override;

private:
    HWND edit_;
};

} // namespace fortpad
