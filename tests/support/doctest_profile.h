#pragma once
// Readable failure messages for rows of profile sections.
#include <vector>

#include "platform/IniEditor.h"
#include "support/doctest_wide.h"

namespace doctest {
template <>
struct StringMaker<std::vector<ProfileEntry>> {
    static String convert(const std::vector<ProfileEntry>& rows) {
        std::string text = "{";
        for (const ProfileEntry& row : rows) {
            text += "\n  [" + xpv_test::ToUtf8(row.key) + "]=[" + xpv_test::ToUtf8(row.value) + "]";
        }
        return (text + " }").c_str();
    }
};
}  // namespace doctest
