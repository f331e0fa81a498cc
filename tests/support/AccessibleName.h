#pragma once
// The name a screen reader reads for a control: asked of the platform's accessibility interface,
// as assistive technology asks it. Tests using it link oleacc, oleaut32 and ole32.
#include <windows.h>
#include <oleacc.h>

#include <optional>
#include <string>

namespace xpv_test {

// The accessible name of the control's client object; nothing when the interface gives none.
inline std::optional<std::wstring> AccessibleName(HWND control) {
    IAccessible* accessible = nullptr;
    // __uuidof: the IID_IAccessible the MinGW libraries link in is not the interface's.
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible))) ||
        accessible == nullptr) {
        return std::nullopt;
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT asked = accessible->get_accName(self, &name);
    accessible->Release();
    if (asked != S_OK || name == nullptr) {
        SysFreeString(name);
        return std::nullopt;
    }
    std::wstring result(name, SysStringLen(name));
    SysFreeString(name);
    return result;
}

}  // namespace xpv_test
