#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace fortpad {

// Which list a verdict goes to: only Good lands in the green list.
enum Category : std::int16_t { Good = 1, Bad = 2, Mixed = 3 };

struct Verdict {
    std::u16string_view text;
    std::int16_t category;
};

inline constexpr int fortune_count = 80;

// One verdict per fortune index 0..79, in index order.
extern const std::array<Verdict, fortune_count> fortune_table;

// For inputs that do not end in a digit.
extern const Verdict unknown_verdict;

} // namespace fortpad
