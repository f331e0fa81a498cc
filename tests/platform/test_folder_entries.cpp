#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/FolderEntries.h"
#include "support/FixturePath.h"
#include "support/doctest_wide.h"

namespace {

using Names = std::vector<std::wstring>;

Names Sorted(Names names) {
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST_CASE("A listing hands out only names a path can hold and keeps the others aside") {
    // Joined to their folder, the names set aside would lead elsewhere ("..\escape.exe") or into a
    // folder that does not exist ("a\b.exe").
    FolderEntries entries(xpv_test::FixturePath(XPV_ODD_NAMES) + L"\\top");
    REQUIRE(entries.Readable());
    Names listed;
    while (const WIN32_FIND_DATAW* entry = entries.Next()) listed.push_back(entry->cFileName);
    Names skipped;
    for (const WIN32_FIND_DATAW& entry : entries.Skipped()) skipped.push_back(entry.cFileName);
    CHECK(Sorted(listed) == Names{L"fine", L"good.exe"});
    CHECK(Sorted(skipped) == Names{L"..\\escape.exe", L"a\\b.exe", L"c:d.exe", L"d:e", L"dir\\x", L"pipe|.exe",
                                   L"star*.exe", L"what?.exe"});
}

TEST_CASE("A usable name holds none of the characters Windows forbids in names") {
    const struct {
        const wchar_t* name;
        bool usable;
    } cases[] = {
        {L"app.exe", true},
        {L"a b ~ (1) [x] {y} 'z' #,;=+.exe", true},
        {L"\u6587\u4ef6.exe", true},
        {L"...", true},
        {L"", false},
        {L".", false},
        {L"..", false},
        {L"a/b.exe", false},
        {L"a\\b.exe", false},
        {L"c:d.exe", false},
        {L"what?.exe", false},
        {L"star*.exe", false},
        {L"say\"hi\".exe", false},
        {L"<less>.exe", false},
        {L"pipe|.exe", false},
        {L"tab\t.exe", false},
        {L"line\n.exe", false},
    };
    for (const auto& c : cases) {
        CAPTURE(std::wstring(c.name));
        CHECK(IsUsableName(c.name) == c.usable);
    }
}
