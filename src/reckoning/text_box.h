#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace fortpad {

// The text box operations the reckoning needs. Positions and lengths count
// UTF-16 code units, as the boxes themselves do.
class TextBox {
public:
    virtual ~TextBox() = default;

    // Reading back returns exactly what was last written, CR LF included.
    virtual std::u16string text() const = 0;
    virtual void set_text(std::u16string_view text) = 0;
    // Same result as set_text(text() + tail); lets a box holding a long list
    // add an entry without reading the whole list back.
    virtual void append(std::u16string_view tail) = 0;

    // Writing 0 to the start and then the text's length to the length selects
    // the whole text.
    virtual void set_sel_start(std::size_t start) = 0;
    virtual void set_sel_length(std::size_t length) = 0;

    virtual void set_focus() = 0;
};

// Selects the whole text, so that the next keystroke replaces it.
inline void select_all(TextBox& box)
{
    box.set_sel_start(0);
    box.set_sel_length(box.text().size());
}

// The three boxes of the main window that the reckoning reads and writes.
struct FormBoxes {
    TextBox& input_num;
    TextBox& good_box;
    TextBox& bad_num;
};

} // namespace fortpad
