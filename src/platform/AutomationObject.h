#pragma once
#include <oaidl.h>

#include <string_view>

#include "platform/ComPointer.h"

// An automation object used late-bound, the way a script uses it: members are looked up by name
// at each use. Empty objects fail every call.
class AutomationObject {
public:
    AutomationObject() = default;
    explicit AutomationObject(ComPointer<IDispatch> object) : object_(std::move(object)) {}

    // A new object of the class registered under the programmatic identifier ("Server.Class"), in
    // this process or in a server of its own; empty when the class is unknown or will not start.
    static AutomationObject Create(const wchar_t* programmaticId);

    explicit operator bool() const { return static_cast<bool>(object_); }
    // Each is true when the object accepted the call.
    bool SetProperty(const wchar_t* name, bool value);
    bool CallMethod(const wchar_t* name);
    bool CallMethod(const wchar_t* name, std::wstring_view text);

private:
    bool Invoke(const wchar_t* name, WORD kind, VARIANT* arguments, UINT argumentCount);

    ComPointer<IDispatch> object_;
};
