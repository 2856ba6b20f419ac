#include "entry_announcements.h"

#include "look_up.h"

#include <oleauto.h>
#include <uiautomationcore.h>

#include <string_view>

namespace fortpad {
namespace {

// From Windows 10 1709's UIAutomationCoreApi.h, which MinGW-w64's headers
// lack: an item added, and every such notification read in turn.
constexpr int item_added = 0;
constexpr int read_all_in_turn = 2;

using HostProviderFromHwnd = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
using RaiseNotificationEvent = HRESULT(WINAPI*)(IRawElementProviderSimple*, int, int, BSTR, BSTR);

struct Notifications {
    HostProviderFromHwnd host_provider_from_hwnd = nullptr;
    RaiseNotificationEvent raise_notification_event = nullptr;
};

// Only from the system's own folder; kept loaded for the program's life.
const Notifications& notifications()
{
    static const Notifications functions = [] {
        const HMODULE core = LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!core)
            return Notifications{};
        const Notifications found{look_up<HostProviderFromHwnd>(core, "UiaHostProviderFromHwnd"),
                                  look_up<RaiseNotificationEvent>(core, "UiaRaiseNotificationEvent")};
        return found.host_provider_from_hwnd && found.raise_notification_event ? found : Notifications{};
    }();
    return functions;
}

void notify(const Notifications& functions, HWND list, std::u16string_view entry)
{
    IRawElementProviderSimple* provider = nullptr;
    if (FAILED(functions.host_provider_from_hwnd(list, &provider)) || !provider)
        return;
    const BSTR text = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(entry.data()), UINT(entry.size()));
    constexpr std::wstring_view activity_id = L"fortpad.entry";
    const BSTR activity = SysAllocStringLen(activity_id.data(), UINT(activity_id.size()));
    if (text && activity)
        functions.raise_notification_event(provider, item_added, read_all_in_turn, text, activity);
    SysFreeString(activity);
    SysFreeString(text);
    provider->Release();
}

} // namespace

bool entries_announced_by_notification() { return notifications().raise_notification_event != nullptr; }

void announce_entry(HWND list, std::u16string_view entry)
{
    if (entries_announced_by_notification())
        notify(notifications(), list, entry);
    else
        NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, list, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace fortpad
