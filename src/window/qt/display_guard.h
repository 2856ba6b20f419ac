#pragma once

namespace fortpad {

// Qt aborts with a core dump, after three lines of its own, when it cannot
// open the display. While a guard lives (around the application's
// construction), that becomes one line naming the display and exit code 1;
// Qt's other messages of that time are passed on when the guard ends.
class DisplayGuard {
public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;
};

} // namespace fortpad
