#pragma once

// Stand-ins for a few system functions, put into this test program's own
// import table, so that the window's calls reach them: what Wine cannot
// show (a beep, a screen reader's names) is counted, and what Windows 7 or
// a desktop out of resources would do is played.

#include <windows.h>

#include <string>
#include <vector>

namespace fortpad::stand_ins {

// MessageBeep, counted instead of sounded.
inline int beeps = 0;

// Windows 10's DPI functions missing, as on Windows 7: from the start of the
// program, when FORTPAD_TEST_WITHOUT_DPI_FUNCTIONS is set.
inline bool without_dpi_functions = false;

// Windows 10 1709's notification event there, when
// FORTPAD_TEST_WITH_NOTIFICATIONS is set, counted instead of raised;
// otherwise missing, as before Windows 10 1709 and under Wine 8 (Wine 10's
// is an empty stub).
inline bool with_notifications = false;

struct Notification {
    HWND source;
    std::wstring text;
    int kind, processing;
    friend bool operator==(const Notification&, const Notification&) = default;
};
inline std::vector<Notification> notifications;

// While set, no EDIT control can be created.
inline bool edit_controls_fail = false;

inline int subclasses_removed = 0;

// The names given to controls for screen readers, and those taken back.
struct NameGiven {
    HWND control;
    std::wstring name;
};
inline std::vector<NameGiven> names_given;
inline std::vector<HWND> names_cleared;
// The controls marked as polite live regions.
inline std::vector<HWND> live_regions_given;

void install();

} // namespace fortpad::stand_ins
