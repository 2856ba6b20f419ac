#pragma once

#include <windows.h>

#include <string_view>

#ifndef EVENT_OBJECT_LIVEREGIONCHANGED
#define EVENT_OBJECT_LIVEREGIONCHANGED 0x8019 // Windows 8 and later
#endif

namespace fortpad {

// Whether this Windows has UI Automation's notification event (Windows 10
// 1709 and later), looked up when first asked: then an entry is announced
// by its text, and the lists are no live regions, so that it is heard once.
bool entries_announced_by_notification();

// Tells screen readers, politely, of `entry`, just appended to `list`: by a
// notification with its text, or where there is none, as a change of the
// list's live region, which screen readers read from Windows 8 on (Windows 7
// ignores the event).
void announce_entry(HWND list, std::u16string_view entry);

} // namespace fortpad
