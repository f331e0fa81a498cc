#pragma once
// The Vestrim panel's programs with known version details, which the batch tests copy.
#include <string>

#include "support/FixturePath.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

namespace batch_test {

inline const std::wstring kPrograms = xpv_test::FixturePath(XPV_BATCH_PROGRAMS);

// A copy of a fixture program ("alpha": with version details, "plain": without).
inline std::wstring AddProgram(const xpv_test::TempFolder& folder, const wchar_t* fixture,
                               const std::wstring& relative) {
    const std::wstring path = folder / relative;
    REQUIRE(xpv_test::CopyInto(kPrograms + L"\\" + fixture + L".exe", path));
    return path;
}

}  // namespace batch_test
