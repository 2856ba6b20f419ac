#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace fortpad {

// The input box as the reckoning uses it. Positions and lengths count UTF-16
// code units, as the boxes themselves do.
class InputBox {
public:
    virtual ~InputBox() = default;

    // Reading back returns exactly what was last written.
    virtual std::u16string text() const = 0;
    virtual void set_text(std::u16string_view text) = 0;

    // Writing 0 to the start and then the text's length to the length selects
    // the whole text.
    virtual void set_sel_start(std::size_t start) = 0;
    virtual void set_sel_length(std::size_t length) = 0;

    virtual void set_focus() = 0;
};

// A result list: the reckoning only adds to its end; the form's start-up and
// Clear empty it.
class ResultList {
public:
    virtual ~ResultList() = default;

    virtual void set_text(std::u16string_view text) = 0;
    // Same result as writing the list's text followed by the tail, but a list
    // holding thousands of entries need not be read back to add one.
    virtual void append(std::u16string_view tail) = 0;
    // Tells screen readers, politely and once, of an entry just appended:
    // the verdict is heard without leaving the input. Nothing is shown.
    virtual void announce(std::u16string_view entry) = 0;
};

// Selects the whole text, so that the next keystroke replaces it.
inline void select_all(InputBox& box)
{
    box.set_sel_start(0);
    box.set_sel_length(box.text().size());
}

// The three boxes of the main window that the reckoning and the form's
// handlers read and write.
struct FormBoxes {
    InputBox& input_num;
    ResultList& good_box;
    ResultList& bad_num;
};

} // namespace fortpad
