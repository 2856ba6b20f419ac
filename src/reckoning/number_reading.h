#pragma once

#include "fortune_table.h"
#include "text_boxes.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace fortpad {

inline constexpr std::size_t max_input_length = 32;

// Trims spaces (U+0020 only) at both ends, then keeps at most the last
// max_input_length code units. No second trim follows the cut.
std::u16string tidy_input(std::u16string_view text);

struct Reading {
    Verdict verdict;
    std::u16string_view logged; // a suffix of the text that was read
};

// Reads a tidied, non-empty input: the verdict of its last four trailing
// digits, logged with the whole trailing digit run; the unknown verdict,
// logged with the whole text, when it does not end in a digit.
Reading read_fortune(std::u16string_view tidied);

// The test command: tidies the input in its box, records the verdict in a
// list and gives the focus back to the input. An input that is empty after
// trimming records nothing.
void run_number_test(const FormBoxes& boxes);

} // namespace fortpad
