#pragma once

#include <QRgb>

#include <array>

namespace fortpad {

// Positions and sizes are in twips; Qt's own high-DPI scaling takes care of
// screens other than 96 DPI, where a pixel is 15 twips.
inline constexpr int twips_per_pixel = 15;
inline constexpr int client_width_twips = 10680;
inline constexpr int client_height_twips = 5175;
inline constexpr char16_t form_caption[] = u"Orvantil";

enum class ControlKind { Button, Input, List, Label };

struct ControlPlacement {
    const char* name;
    ControlKind kind;
    const char16_t* caption; // "&" marks the access key
    int left, top, width, height;
    int tab_index;
    QRgb text_colour; // 0: the platform's default
};

// In the order the controls are created; later ones lie above earlier ones,
// except the label, which always lies beneath.
inline constexpr std::array<ControlPlacement, 8> form_controls = {{
    {"cmd_abort", ControlKind::Button, u"关于&a", 7440, 120, 975, 375, 7, 0},
    {"cmd_clr", ControlKind::Button, u"清空&c", 8520, 120, 975, 375, 6, 0},
    {"cmd_end", ControlKind::Button, u"退出&x", 9600, 120, 975, 375, 5, 0},
    {"good_box", ControlKind::List, u"", 5400, 600, 5175, 4455, 4, qRgb(0, 128, 0)},
    {"bad_num", ControlKind::List, u"", 120, 600, 5175, 4455, 3, qRgb(255, 0, 0)},
    {"input_num", ControlKind::Input, u"", 720, 120, 2295, 270, 0, 0},
    {"cmd_test", ControlKind::Button, u"测一下&s", 3120, 120, 1215, 375, 1, 0},
    {"Label1", ControlKind::Label, u"数字：", 120, 120, 735, 255, 2, 0},
}};

} // namespace fortpad
