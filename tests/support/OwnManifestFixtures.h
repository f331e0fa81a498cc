#pragma once
#include <string>

namespace xpv_test {

// A program built for the manifest tests (own_cc6, own_trust, ...), in the folder the build gives.
inline std::wstring OwnManifestFixture(const std::wstring& name) {
    return std::wstring(XPV_OWN_MANIFESTS) + L"\\" + name + L".exe";
}

}  // namespace xpv_test
