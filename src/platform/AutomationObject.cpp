#include "platform/AutomationObject.h"

#include <oleauto.h>

namespace {

// A VARIANT that is cleared, with any text it holds, however the scope is left.
class Variant {
public:
    Variant() { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* get() { return &value_; }

private:
    VARIANT value_;
};

}  // namespace

AutomationObject AutomationObject::Create(const wchar_t* programmaticId) {
    CLSID classId;
    if (FAILED(CLSIDFromProgID(programmaticId, &classId))) return {};
    ComPointer<IDispatch> object;
    if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(object.put())))) {
        return {};
    }
    return AutomationObject(std::move(object));
}

bool AutomationObject::SetProperty(const wchar_t* name, bool value) {
    Variant argument;
    argument.get()->vt = VT_BOOL;
    argument.get()->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return Invoke(name, DISPATCH_PROPERTYPUT, argument.get(), 1);
}

bool AutomationObject::CallMethod(const wchar_t* name) { return Invoke(name, DISPATCH_METHOD, nullptr, 0); }

bool AutomationObject::CallMethod(const wchar_t* name, std::wstring_view text) {
    Variant argument;
    argument.get()->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!argument.get()->bstrVal) return false;
    argument.get()->vt = VT_BSTR;
    return Invoke(name, DISPATCH_METHOD, argument.get(), 1);
}

bool AutomationObject::Invoke(const wchar_t* name, WORD kind, VARIANT* arguments, UINT argumentCount) {
    if (!object_) return false;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID member = DISPID_UNKNOWN;
    if (FAILED(object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member))) return false;
    // A property's new value travels as the one named argument.
    DISPID propertyPut = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{arguments, nullptr, argumentCount, 0};
    if (kind == DISPATCH_PROPERTYPUT) {
        parameters.rgdispidNamedArgs = &propertyPut;
        parameters.cNamedArgs = 1;
    }
    Variant result;
    return SUCCEEDED(object_->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result.get(), nullptr,
                                     nullptr));
}
