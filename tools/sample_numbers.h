#pragma once

// What the screenshots show tested: a few numbers that fill both lists.
inline constexpr const char16_t* sample_numbers[] = {u"13812345678", u"12345", u"a7", u"0080",
                                                     u"No:10001",    u"12a",   u"2026"};
