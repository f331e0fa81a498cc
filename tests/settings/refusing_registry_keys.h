#pragma once
// Keys in which the registry refuses to write, for tests of what a refused write tells. Wine keeps
// a key's access list and its volatility as Windows does.
#include <windows.h>
#include <sddl.h>

#include <string>

#include "platform/registry_test_root.h"

namespace registry_test {

// A key that every account may read and none may write a value in, as HKEY_LOCAL_MACHINE is to a
// standard user: a write there is refused with ERROR_ACCESS_DENIED. Its owner may still change
// its access list, and gives full access back at scope exit, so that the key can be removed.
class ReadOnlyKey {
public:
    ReadOnlyKey(HKEY root, std::wstring path) : root_(root), path_(std::move(path)) {
        UniqueRegistryKey key;
        REQUIRE(RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kView, nullptr,
                                key.receive(), nullptr) == ERROR_SUCCESS);
        REQUIRE(SetAccess(key.get(), L"D:P(A;;KR;;;WD)"));
    }
    ~ReadOnlyKey() {
        UniqueRegistryKey key;
        // Also runs while a failed check unwinds: must not throw.
        CHECK(RegOpenKeyExW(root_, path_.c_str(), 0, WRITE_DAC | kView, key.receive()) == ERROR_SUCCESS);
        if (key) CHECK(SetAccess(key.get(), L"D:P(A;;KA;;;WD)"));
    }
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;

private:
    // The key's access list from its text form: "KR" reading, "KA" everything, "WD" everyone.
    static bool SetAccess(HKEY key, const wchar_t* accessList) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(accessList, SDDL_REVISION_1, &descriptor,
                                                                  nullptr)) {
            return false;
        }
        const LONG set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        LocalFree(descriptor);
        return set == ERROR_SUCCESS;
    }

    HKEY root_;
    std::wstring path_;
};

// A key that lasts only until Windows restarts: the registry refuses to create a lasting key below
// it (ERROR_CHILD_MUST_BE_VOLATILE). It goes with the test's own key.
inline void CreateVolatileKey(HKEY root, const std::wstring& path) {
    UniqueRegistryKey key;
    REQUIRE(RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS | kView, nullptr,
                            key.receive(), nullptr) == ERROR_SUCCESS);
}

}  // namespace registry_test
