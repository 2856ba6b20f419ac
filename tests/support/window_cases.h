#pragma once

// What every window, Qt, Win32 and the browser's, must show: read by each
// suite (the browser's through a module built from this header), so a case is
// written once. Plain data, no toolkit.

#include <array>
#include <string_view>

namespace fortpad::cases {

// A number typed into the input and tested: what the input shows afterwards,
// the row whose verdict lands in a list (unknown_row: the unknown verdict)
// and the number logged after it.
struct WorkedExample {
    const char* name;
    std::u16string_view typed;
    std::u16string_view shown;
    int row;
    bool good; // the green list; otherwise the red one
    std::u16string_view logged;
};

inline constexpr int unknown_row = -1;

inline constexpr WorkedExample worked_examples[] = {
    {"phone number", u"13812345678", u"13812345678", 78, false, u"13812345678"},
    {"five digits use the last four", u"12345", u"12345", 25, true, u"12345"},
    {"letter before digit", u"a7", u"a7", 7, true, u"7"},
    {"leading zeros", u"0080", u"0080", 0, false, u"0080"},
    {"largest key", u"9999", u"9999", 79, false, u"9999"},
    {"spaces trimmed", u"  123  ", u"123", 43, false, u"123"},
    {"inner space ends the run", u"1 2", u"1 2", 2, false, u"2"},
    {"letter at the end", u"12a", u"12a", unknown_row, false, u"12a"},
};

struct PixelRect {
    int left, top, width, height;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

enum class Kind { Label, Input, Button, List };

// Each control with its caption and where it lands, worked out by hand from
// its twips: at 96 dots per inch a pixel is 15 twips; at 120 and 144, 12 and
// 10, rounded to nearest with halves up.
struct ExpectedPlacement {
    const char* name;
    Kind kind;
    std::u16string_view caption;
    PixelRect at_96, at_120, at_144;
};

inline constexpr ExpectedPlacement expected_placements[] = {
    {"Label1", Kind::Label, u"数字：", {8, 8, 49, 17}, {10, 10, 61, 21}, {12, 12, 74, 26}},
    {"input_num", Kind::Input, u"", {48, 8, 153, 18}, {60, 10, 191, 23}, {72, 12, 230, 27}},
    {"cmd_test", Kind::Button, u"测一下&s", {208, 8, 81, 25}, {260, 10, 101, 31}, {312, 12, 122, 38}},
    {"cmd_abort", Kind::Button, u"关于&a", {496, 8, 65, 25}, {620, 10, 81, 31}, {744, 12, 98, 38}},
    {"cmd_clr", Kind::Button, u"清空&c", {568, 8, 65, 25}, {710, 10, 81, 31}, {852, 12, 98, 38}},
    {"cmd_end", Kind::Button, u"退出&x", {640, 8, 65, 25}, {800, 10, 81, 31}, {960, 12, 98, 38}},
    {"bad_num", Kind::List, u"", {8, 40, 345, 297}, {10, 50, 431, 371}, {12, 60, 518, 446}},
    {"good_box", Kind::List, u"", {360, 40, 345, 297}, {450, 50, 431, 371}, {540, 60, 518, 446}},
};

struct ClientSize {
    int dpi, width, height;
};
inline constexpr ClientSize expected_client_sizes[] = {{96, 712, 345}, {120, 890, 431}, {144, 1068, 518}};

// Tab from the input visits these and comes back; Shift+Tab the reverse.
inline constexpr std::array<const char*, 7> tab_visits = {"cmd_test", "bad_num",   "good_box", "cmd_end",
                                                          "cmd_clr",  "cmd_abort", "input_num"};

// Texts a list must read back exactly, whole or appended in pieces.
struct ListText {
    const char* name;
    std::u16string_view text;
};

inline constexpr ListText list_texts[] = {
    {"empty", u""},
    {"entries", u"\r\n01.大展鸿图,信用得固,名利双收,可获成功(大吉),81\r\nxx..未知吉凶(尾数非数字，暂有争议)...,12a"},
    {"blank lines", u"\r\n\r\n\r\n"},
    {"lone line feed", u"a\nb\n"},
    {"lone carriage return", u"\ra\rb"},
    {"LF CR is no pair", u"a\n\rb"},
    {"CR CR LF", u"a\r\r\nb"},
    {"paragraph separator", u"a\u2029b"},
    {"line separator", u"a\u2028b"},
    {"frame markers", u"\uFDD0a\uFDD1"},
    {"no-break space", u"1\u00A02"},
    {"tab", u"1\t2"},
    {"the pictures themselves", u"\u240A\u240D\u00B6\uFFFD"},
    {"surrogate pair and half", u"\U0001F600\xD83D"},
    {"right-to-left marks", u"\u200F123\u200E"},
};

} // namespace fortpad::cases
