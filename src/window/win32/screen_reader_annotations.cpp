#include "screen_reader_names.h"

#include "wide_text.h"

// The annotation's GUIDs are defined here, the one place that uses them.
#include <initguid.h>
#include <oleacc.h>

namespace fortpad {

ScreenReaderNames::ScreenReaderNames(const ControlWindows& controls)
{
    // COM for the window's thread while the names live; a thread whose COM
    // was set up otherwise keeps it as it is, and may not have the service.
    com_started_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&services_)))) {
        services_ = nullptr;
        return;
    }
    for (const ControlPlacement& placement : form_controls) {
        const std::u16string_view name = accessible_name(placement);
        if (name.empty())
            continue;
        const HWND control = controls[index_of(placement.control)];
        services_->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, to_wide(name).c_str());
        named_[index_of(placement.control)] = control;
    }
}

ScreenReaderNames::~ScreenReaderNames()
{
    if (services_) {
        for (HWND control : named_)
            if (control)
                services_->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, &PROPID_ACC_NAME, 1);
        services_->Release();
    }
    if (com_started_)
        CoUninitialize();
}

} // namespace fortpad
