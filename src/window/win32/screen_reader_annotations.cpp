#include "screen_reader_annotations.h"

#include "entry_announcements.h"
#include "wide_text.h"

// The annotation's GUIDs are defined here, the one place that uses them.
#include <initguid.h>
#include <oleacc.h>

namespace fortpad {

ScreenReaderAnnotations::ScreenReaderAnnotations(const ControlWindows& controls)
{
    // COM for the window's thread while the annotations live; a thread whose
    // COM was set up otherwise keeps it as it is, and may not have the
    // service.
    com_started_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&services_)))) {
        services_ = nullptr;
        return;
    }
    const bool lists_are_live = !entries_announced_by_notification();
    for (const ControlPlacement& placement : form_controls) {
        const std::u16string_view name = accessible_name(placement);
        if (name.empty())
            continue;
        const HWND control = controls[index_of(placement.control)];
        services_->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, to_wide(name).c_str());
        if (lists_are_live && placement.kind == ControlKind::List) {
            VARIANT setting{};
            setting.vt = VT_I4;
            setting.lVal = polite;
            services_->SetHwndProp(control, OBJID_CLIENT, CHILDID_SELF, live_setting_property, setting);
        }
        annotated_[index_of(placement.control)] = control;
    }
}

ScreenReaderAnnotations::~ScreenReaderAnnotations()
{
    if (services_) {
        const MSAAPROPID properties[] = {PROPID_ACC_NAME, live_setting_property};
        for (HWND control : annotated_)
            if (control)
                services_->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, properties, std::size(properties));
        services_->Release();
    }
    if (com_started_)
        CoUninitialize();
}

} // namespace fortpad
