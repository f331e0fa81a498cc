#pragma once
// The machine's PreferExternalManifest in the real registry of the test prefix (64-bit view), for
// tests that let the program read or set it: put back as it was however the test ends; and its
// key made read-only for a while. Such tests hold the ctest lock "registry", as both
// architectures share the prefix.
#include <windows.h>
#include <sddl.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry_test_root.h"
#include "theming/ExternalManifestPreference.h"

namespace xpv_test {

class MachineSideBySide {
public:
    MachineSideBySide() : saved_(Read()) {}
    ~MachineSideBySide() { Set(saved_); }
    MachineSideBySide(const MachineSideBySide&) = delete;
    MachineSideBySide& operator=(const MachineSideBySide&) = delete;

    static std::optional<registry_test::StoredValue> Read() {
        return registry_test::ReadStoredValue(HKEY_LOCAL_MACHINE, SideBySideKey{}.path, kPreferExternalManifest);
    }
    static void Set(const std::optional<registry_test::StoredValue>& value) {
        if (value) {
            registry_test::PutStoredValue(HKEY_LOCAL_MACHINE, SideBySideKey{}.path, kPreferExternalManifest, *value);
        } else {
            registry_test::DeleteStoredValue(HKEY_LOCAL_MACHINE, SideBySideKey{}.path, kPreferExternalManifest);
        }
    }

private:
    std::optional<registry_test::StoredValue> saved_;
};

// A key, made when missing, read-only to everyone as HKEY_LOCAL_MACHINE is to a user without
// administrator rights; its own access control put back at scope exit.
class ReadOnlyRegistryKey {
public:
    ReadOnlyRegistryKey(HKEY parent, std::wstring path) : path_(std::move(path)) {
        REQUIRE(RegCreateKeyExW(parent, path_.c_str(), 0, nullptr, 0, READ_CONTROL | WRITE_DAC | registry_test::kView,
                                nullptr, key_.receive(), nullptr) == ERROR_SUCCESS);
        DWORD size = 0;
        RegGetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
        saved_.resize(size);
        REQUIRE(RegGetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, saved_.data(), &size) == ERROR_SUCCESS);
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        REQUIRE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly,
                                                                     nullptr));
        CHECK(RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS);
        LocalFree(readOnly);
    }
    ~ReadOnlyRegistryKey() {
        CHECK(RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, saved_.data()) == ERROR_SUCCESS);
    }
    ReadOnlyRegistryKey(const ReadOnlyRegistryKey&) = delete;
    ReadOnlyRegistryKey& operator=(const ReadOnlyRegistryKey&) = delete;

    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
    UniqueRegistryKey key_;
    std::vector<BYTE> saved_;
};

// The machine's side-by-side key, read-only as for a user without administrator rights.
class ReadOnlySideBySideKey : public ReadOnlyRegistryKey {
public:
    ReadOnlySideBySideKey() : ReadOnlyRegistryKey(HKEY_LOCAL_MACHINE, SideBySideKey{}.path) {}
};

}  // namespace xpv_test
