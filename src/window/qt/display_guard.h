#pragma once

namespace fortpad {

// Qt aborts with a core dump when it cannot open the display. While a guard
// lives (around the application's construction), that becomes one line
// naming the display, Qt's own reason beneath it and exit code 1; Qt's
// messages of a start-up that succeeds are passed on when the guard ends.
class DisplayGuard {
public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;
};

} // namespace fortpad
