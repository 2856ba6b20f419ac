#pragma once

#include "text_boxes.h"

#include <cstdint>
#include <string>

namespace fortpad {

// Appends CR LF, the verdict, "," and the logged number to the good list
// (category 1) or the bad list (anything else), announces the entry without
// its line break, then selects the whole input.
void test_num(const FormBoxes& boxes, const std::u16string& jx_txt, const std::int16_t& jx_num,
              const std::u16string& inputnum);

} // namespace fortpad
