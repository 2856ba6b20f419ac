#include "system_stand_ins.h"

#include "screen_reader_annotations.h"

#include <commctrl.h>
#include <oleacc.h>
#include <uiautomationcore.h>

#include <algorithm>

#include <cstdlib>
#include <string_view>

// The import table entries through which the window calls the system. On
// x86 their symbols carry the stdcall decoration: the bytes of arguments.
#ifdef __i386__
#define IMPORT_ENTRY(function, argument_bytes) __asm__("__imp__" #function "@" #argument_bytes)
#else
#define IMPORT_ENTRY(function, argument_bytes) __asm__("__imp_" #function)
#endif
extern decltype(&MessageBeep) imported_MessageBeep IMPORT_ENTRY(MessageBeep, 4);
extern decltype(&GetProcAddress) imported_GetProcAddress IMPORT_ENTRY(GetProcAddress, 8);
extern decltype(&CreateWindowExW) imported_CreateWindowExW IMPORT_ENTRY(CreateWindowExW, 48);
extern decltype(&RemoveWindowSubclass) imported_RemoveWindowSubclass IMPORT_ENTRY(RemoveWindowSubclass, 12);
extern decltype(&CoCreateInstance) imported_CoCreateInstance IMPORT_ENTRY(CoCreateInstance, 20);

namespace fortpad::stand_ins {
namespace {

template <typename Function>
Function replace(Function& entry, Function stand_in)
{
    DWORD protection = 0;
    VirtualProtect(&entry, sizeof entry, PAGE_READWRITE, &protection);
    const Function original = entry;
    entry = stand_in;
    VirtualProtect(&entry, sizeof entry, protection, &protection);
    return original;
}

decltype(&GetProcAddress) real_get_proc_address = nullptr;
decltype(&CreateWindowExW) real_create_window = nullptr;
decltype(&RemoveWindowSubclass) real_remove_subclass = nullptr;

BOOL WINAPI beep(UINT)
{
    ++beeps;
    return TRUE;
}

// A list's UI Automation provider, as far as a notification names it.
class ListProvider final : public IRawElementProviderSimple {
public:
    explicit ListProvider(HWND list)
        : list_(list)
    {
    }
    HWND list() const { return list_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        delete this;
        return 0;
    }
    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID, IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple**) override { return E_NOTIMPL; }

private:
    HWND list_;
};

HRESULT WINAPI host_provider_from_hwnd(HWND window, IRawElementProviderSimple** provider)
{
    *provider = new ListProvider(window);
    return S_OK;
}

HRESULT WINAPI raise_notification_event(IRawElementProviderSimple* provider, int kind, int processing, BSTR text,
                                        BSTR)
{
    notifications.push_back({static_cast<ListProvider*>(provider)->list(), {text, SysStringLen(text)}, kind, processing});
    return S_OK;
}

FARPROC WINAPI get_proc_address(HMODULE module, LPCSTR name)
{
    const std::string_view wanted = HIWORD(name) ? name : "";
    if (without_dpi_functions
        && (wanted == "GetDpiForWindow" || wanted == "SystemParametersInfoForDpi" || wanted == "AdjustWindowRectExForDpi"))
        return nullptr;
    if (wanted == "UiaRaiseNotificationEvent")
        return with_notifications ? reinterpret_cast<FARPROC>(reinterpret_cast<void*>(raise_notification_event)) : nullptr;
    if (wanted == "UiaHostProviderFromHwnd" && with_notifications)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(host_provider_from_hwnd));
    return real_get_proc_address(module, name);
}

HWND WINAPI create_window(DWORD ex_style, LPCWSTR cls, LPCWSTR name, DWORD style, int x, int y, int width,
                          int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter)
{
    if (edit_controls_fail && HIWORD(cls) && lstrcmpiW(cls, L"EDIT") == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return real_create_window(ex_style, cls, name, style, x, y, width, height, parent, menu, instance, parameter);
}

BOOL WINAPI remove_subclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id)
{
    ++subclasses_removed;
    return real_remove_subclass(window, procedure, id);
}

// The system's annotation service, as far as the window uses it.
class AnnotationService final : public IAccPropServices {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        *object = iid == IID_IUnknown || iid == IID_IAccPropServices ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE SetHwndPropStr(HWND hwnd, DWORD object, DWORD child, MSAAPROPID property,
                                             LPCWSTR text) override
    {
        if (object != DWORD(OBJID_CLIENT) || child != CHILDID_SELF || property != PROPID_ACC_NAME)
            return E_INVALIDARG;
        names_given.push_back({hwnd, text});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ClearHwndProps(HWND hwnd, DWORD, DWORD, const MSAAPROPID* properties,
                                             int count) override
    {
        if (std::find(properties, properties + count, PROPID_ACC_NAME) != properties + count)
            names_cleared.push_back(hwnd);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHwndProp(HWND hwnd, DWORD object, DWORD child, MSAAPROPID property,
                                          VARIANT value) override
    {
        if (object != DWORD(OBJID_CLIENT) || child != CHILDID_SELF || property != live_setting_property
            || value.vt != VT_I4 || value.lVal != polite)
            return E_INVALIDARG;
        live_regions_given.push_back(hwnd);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                            AnnoScope) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                                AnnoScope) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                                 AnnoScope) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override
    {
        return E_NOTIMPL;
    }
};

AnnotationService annotation_service;

// Wine's own service answers E_NOTIMPL to every name it is given.
HRESULT WINAPI create_instance(REFCLSID cls, LPUNKNOWN, DWORD, REFIID iid, LPVOID* object)
{
    if (cls != CLSID_AccPropServices)
        return REGDB_E_CLASSNOTREG;
    return annotation_service.QueryInterface(iid, object);
}

} // namespace

void install()
{
    without_dpi_functions = std::getenv("FORTPAD_TEST_WITHOUT_DPI_FUNCTIONS") != nullptr;
    with_notifications = std::getenv("FORTPAD_TEST_WITH_NOTIFICATIONS") != nullptr;
    replace(imported_MessageBeep, beep);
    real_get_proc_address = replace(imported_GetProcAddress, get_proc_address);
    real_create_window = replace(imported_CreateWindowExW, create_window);
    real_remove_subclass = replace(imported_RemoveWindowSubclass, remove_subclass);
    replace(imported_CoCreateInstance, create_instance);
}

} // namespace fortpad::stand_ins
