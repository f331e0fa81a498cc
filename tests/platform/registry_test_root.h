#pragma once
// Direct access to Wine's real registry for tests: a key of the test's own that is removed with
// everything below it, and raw reads and writes to prepare and inspect values. Everything works
// in the 64-bit view, as the code under test does.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryMod.h"
#include "support/doctest_wide.h"

namespace registry_test {

constexpr REGSAM kView = KEY_WOW64_64KEY;

struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const StoredValue&) const = default;
};

inline bool KeyExists(HKEY root, const std::wstring& path, REGSAM view = kView) {
    UniqueRegistryKey key;
    return RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | view, key.receive()) ==
           ERROR_SUCCESS;
}

inline std::optional<StoredValue> ReadStoredValue(HKEY root, const std::wstring& path,
                                                  const std::wstring& name) {
    UniqueRegistryKey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | kView, key.receive()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    StoredValue value;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    REQUIRE(RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, value.data.data(),
                             &size) == ERROR_SUCCESS);
    value.data.resize(size);
    return value;
}

inline void PutStoredValue(HKEY root, const std::wstring& path, const std::wstring& name,
                           const StoredValue& value) {
    UniqueRegistryKey key;
    REQUIRE(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE | kView, nullptr,
                            key.receive(), nullptr) == ERROR_SUCCESS);
    // The registry (Wine's as NT's) counts a forgotten string terminator when the character after
    // the data is NUL: a guard that is not keeps the bytes exactly as given.
    std::vector<BYTE> guarded = value.data;
    guarded.insert(guarded.end(), {0xFF, 0xFF});
    REQUIRE(RegSetValueExW(key.get(), name.c_str(), 0, value.type, guarded.data(),
                           static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS);
}

inline void DeleteStoredValue(HKEY root, const std::wstring& path, const std::wstring& name) {
    UniqueRegistryKey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE | kView, key.receive()) ==
        ERROR_SUCCESS) {
        RegDeleteValueW(key.get(), name.c_str());
    }
}

// Raw value forms.
inline StoredValue Bytes(DWORD type, std::string_view bytes) {
    return {type, std::vector<BYTE>(bytes.begin(), bytes.end())};
}
// UTF-16 units of the text as they are, no terminator added (put one in the text for that).
inline StoredValue Utf16(DWORD type, std::wstring_view text) {
    const auto* first = reinterpret_cast<const BYTE*>(text.data());
    return {type, std::vector<BYTE>(first, first + text.size() * sizeof(wchar_t))};
}
inline StoredValue StringValue(std::wstring_view text) {
    return Utf16(REG_SZ, std::wstring(text) + L'\0');
}
inline StoredValue NumberValue(DWORD number) {
    const auto* first = reinterpret_cast<const BYTE*>(&number);
    return {REG_DWORD, std::vector<BYTE>(first, first + sizeof(number))};
}

// Removes the key with everything below it in the 64-bit view. The 32-bit build's headers stop
// at XP, which has no function that deletes in a chosen view: it is looked up.
inline void DeleteKeyTree(HKEY root, const std::wstring& path) {
    std::vector<std::wstring> children;
    {
        UniqueRegistryKey key;
        if (RegOpenKeyExW(root, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | kView, key.receive()) !=
            ERROR_SUCCESS) {
            return;
        }
        wchar_t name[256];
        DWORD length = 256;
        for (DWORD index = 0; RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr,
                                            nullptr, nullptr) == ERROR_SUCCESS;
             ++index, length = 256) {
            children.emplace_back(name, length);
        }
    }
    for (const std::wstring& child : children) {
        DeleteKeyTree(root, path + L"\\" + child);
    }
    using DeleteKeyInView = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);
    const auto deleteKey = reinterpret_cast<DeleteKeyInView>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "RegDeleteKeyExW")));
    // Also runs from destructors: must not throw.
    CHECK(static_cast<bool>(deleteKey));
    if (deleteKey) {
        CHECK(deleteKey(root, path.c_str(), kView, 0) == ERROR_SUCCESS);
    }
}

// A key of the test's own below parent (HKEY_CURRENT_USER\Software unless told otherwise),
// named so that runs of both builds and of several processes never meet; removed at scope exit.
class TestRoot {
public:
    explicit TestRoot(std::wstring_view tag, RegistryRoot root = 0x80000001,
                      std::wstring_view parent = L"Software")
        : root_(root) {
        static unsigned counter = 0;
        name_ = L"XpvTest-" + std::wstring(tag) + L"-" +
                (sizeof(void*) == 4 ? L"i686-" : L"x86_64-") +
                std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        path_ = std::wstring(parent) + L"\\" + name_;
        REQUIRE_FALSE(KeyExists(Handle(), path_));
    }
    ~TestRoot() { DeleteKeyTree(Handle(), path_); }
    TestRoot(const TestRoot&) = delete;
    TestRoot& operator=(const TestRoot&) = delete;

    RegistryRoot Root() const { return root_; }
    HKEY Handle() const { return RegistryRootHandle(root_); }
    // The key's own name (last level) and its path below the root.
    const std::wstring& Name() const { return name_; }
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(std::wstring_view relative) const {
        return path_ + L"\\" + std::wstring(relative);
    }

private:
    RegistryRoot root_;
    std::wstring name_;
    std::wstring path_;
};

}  // namespace registry_test
