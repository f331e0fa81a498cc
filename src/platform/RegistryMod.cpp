#include "platform/RegistryMod.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "platform/TextFunctions.h"

namespace {

struct NamedRoot {
    std::wstring_view name;
    RegistryRoot root;
};

constexpr std::array<NamedRoot, 7> kRoots{{
    {L"HKEY_CLASSES_ROOT", 0x80000000},
    {L"HKEY_CURRENT_USER", 0x80000001},
    {L"HKEY_LOCAL_MACHINE", 0x80000002},
    {L"HKEY_USERS", 0x80000003},
    {L"HKEY_PERFORMANCE_DATA", 0x80000004},
    {L"HKEY_CURRENT_CONFIG", 0x80000005},
    {L"HKEY_DYN_DATA", 0x80000006},
}};

// Without it the 32-bit build on 64-bit Windows would be redirected to Wow6432Node under
// HKEY_LOCAL_MACHINE\SOFTWARE. 32-bit Windows ignores it.
constexpr REGSAM kSystemView = KEY_WOW64_64KEY;

// A stored value can change between asking for its size and reading it.
constexpr int kReadAttempts = 3;

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// nullopt when the value does not exist or cannot be asked for; a value whose data then cannot
// be read comes back without a type, as one that is neither text nor number.
std::optional<RawValue> ReadRawValue(HKEY key, const std::wstring& name) {
    RawValue value;
    DWORD size = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        value.data.resize(size);
        const LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &value.type,
                                             value.data.data(), &size);
        if (result == ERROR_SUCCESS) {
            value.data.resize(size);
            return value;
        }
        if (result != ERROR_MORE_DATA) {
            break;
        }
    }
    return RawValue{};
}

// The text up to the first NUL, or all of it when the data has no terminator (an odd last byte
// is dropped).
std::wstring TextOfStringData(const std::vector<BYTE>& data) {
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::copy(data.begin(), data.begin() + text.size() * sizeof(wchar_t),
              reinterpret_cast<BYTE*>(text.data()));
    return text.substr(0, text.find(L'\0'));
}

LONG WriteValue(RegistryRoot root, const std::wstring& path, const std::wstring& name, DWORD type,
                const BYTE* data, DWORD size) {
    const HKEY rootHandle = RegistryRootHandle(root);
    if (!rootHandle) {
        return ERROR_INVALID_HANDLE;
    }
    UniqueRegistryKey key;
    const LONG created = RegCreateKeyExW(rootHandle, path.c_str(), 0, nullptr,
                                         REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | kSystemView,
                                         nullptr, key.receive(), nullptr);
    if (created != ERROR_SUCCESS) {
        return created;
    }
    return RegSetValueExW(key.get(), name.c_str(), 0, type, data, size);
}

}  // namespace

std::wstring RegistryValueText(const RegistryValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) {
        return std::to_wstring(*number);
    }
    return std::get<std::wstring>(value);
}

HKEY RegistryRootHandle(RegistryRoot root) {
    const bool predefined = std::any_of(kRoots.begin(), kRoots.end(),
                                        [root](const NamedRoot& named) { return named.root == root; });
    // The predefined handles are sign-extended 32-bit numbers, also in 64-bit code.
    return predefined ? reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)))
                      : nullptr;
}

RegistryRoot RootKeyFromName(std::wstring_view name) {
    const std::wstring upper = UpperCase(name);
    for (const NamedRoot& named : kRoots) {
        if (named.name == upper) {
            return named.root;
        }
    }
    return 0;
}

RegistryValue QueryRegistryValue(RegistryRoot root, const std::wstring& path,
                                 const std::wstring& name, const std::wstring& defaultValue) {
    const RegistryValue absent = std::wstring(kAbsentRegistryValue);
    const HKEY rootHandle = RegistryRootHandle(root);
    UniqueRegistryKey key;
    if (!rootHandle ||
        RegOpenKeyExW(rootHandle, path.c_str(), 0, KEY_QUERY_VALUE | kSystemView,
                      key.receive()) != ERROR_SUCCESS) {
        return absent;
    }
    const std::optional<RawValue> raw = ReadRawValue(key.get(), name);
    if (!raw) {
        return absent;
    }
    RegistryValue value = defaultValue;
    if (raw->type == REG_SZ) {
        value = TextOfStringData(raw->data);
    } else if (raw->type == REG_DWORD && raw->data.size() == sizeof(DWORD)) {
        DWORD number = 0;
        std::copy(raw->data.begin(), raw->data.end(), reinterpret_cast<BYTE*>(&number));
        value = static_cast<std::int32_t>(number);
    }
    if (TrimBlanks(RegistryValueText(value)).empty()) {
        return absent;
    }
    return value;
}

LONG SetRegistryString(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                       const std::wstring& text) {
    const auto size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return WriteValue(root, path, name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), size);
}

LONG SetRegistryNumber(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                       std::int32_t number) {
    const auto stored = static_cast<DWORD>(number);
    return WriteValue(root, path, name, REG_DWORD, reinterpret_cast<const BYTE*>(&stored),
                      sizeof(stored));
}
