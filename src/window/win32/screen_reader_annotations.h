#pragma once

#include "control_ids.h"

#include <guiddef.h>

struct IAccPropServices;

namespace fortpad {

// UI Automation's LiveSetting property and its polite value, which
// MinGW-w64's headers lack.
inline constexpr GUID live_setting_property = {0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
inline constexpr long polite = 1;

// Windows names an edit box after the static text that precedes it in the
// z-order, and the form's label lies at the bottom of it, beneath the input;
// the two lists have no label at all. So each box gets its name from the
// form through the system's dynamic annotation, and where entries are
// announced through the lists themselves, each list is marked as a polite
// live region, until the annotations are dropped, before the controls are
// destroyed. Where the system lacks the service, the boxes stay unnamed.
class ScreenReaderAnnotations {
public:
    explicit ScreenReaderAnnotations(const ControlWindows& controls);
    ~ScreenReaderAnnotations();
    ScreenReaderAnnotations(const ScreenReaderAnnotations&) = delete;
    ScreenReaderAnnotations& operator=(const ScreenReaderAnnotations&) = delete;

private:
    bool com_started_ = false; // balanced by CoUninitialize
    IAccPropServices* services_ = nullptr;
    ControlWindows annotated_{};
};

} // namespace fortpad
