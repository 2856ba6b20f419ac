#pragma once

#include "control_ids.h"

struct IAccPropServices;

namespace fortpad {

// Windows names an edit box after the static text that precedes it in the
// z-order, and the form's label lies at the bottom of it, beneath the input;
// the two lists have no label at all. So each box gets its name from the
// form through the system's dynamic annotation, until the names are
// dropped, before the controls are destroyed. Where the system lacks the
// service, the boxes stay unnamed.
class ScreenReaderNames {
public:
    explicit ScreenReaderNames(const ControlWindows& controls);
    ~ScreenReaderNames();
    ScreenReaderNames(const ScreenReaderNames&) = delete;
    ScreenReaderNames& operator=(const ScreenReaderNames&) = delete;

private:
    bool com_started_ = false; // balanced by CoUninitialize
    IAccPropServices* services_ = nullptr;
    ControlWindows named_{};
};

} // namespace fortpad
