// Runs under a file size limit (see history_fixtures.cmake): no file can grow beyond
// XPV_FILE_SIZE_LIMIT bytes, and a write that would is cut short and fails, as on a full disk.
#include <windows.h>

#include <string>

#include "history/HistoryStore.h"
#include "platform/IniEditor.h"
#include "support/TempFolder.h"
#include "support/doctest_profile.h"

using xpv_test::TempFolder;

namespace {

constexpr size_t kFileSizeLimit = XPV_FILE_SIZE_LIMIT;

size_t FileSize(const std::wstring& path) { return xpv_test::ReadBytes(path).size(); }

bool AnyTemporaryFileIn(const std::wstring& folder) { return xpv_test::AnyFileMatches(folder + L"\\*.tmp"); }

}  // namespace

TEST_CASE("A history change the disk cannot hold leaves the file as it was and says so") {
    TempFolder folder;
    // The limit is in force: a file stops at it.
    REQUIRE(xpv_test::WriteBytes(folder / L"probe.bin", std::string(kFileSizeLimit, 'x')));
    REQUIRE_FALSE(xpv_test::WriteBytes(folder / L"probe.bin", std::string(kFileSizeLimit + 1, 'x')));
    DeleteFileW((folder / L"probe.bin").c_str());

    HistoryStore store(folder / L"history.db");
    // Entries of about a kilobyte each, until the file lies within three of the limit.
    std::vector<std::wstring> recorded;
    while (recorded.empty() || FileSize(store.File()) < kFileSizeLimit - 3000) {
        recorded.push_back(folder / (L"app" + std::to_wstring(recorded.size()) + L".exe.manifest"));
        REQUIRE(store.Record(recorded.back(), L"Product >> " + std::wstring(480, L'd')));
    }
    const std::string before = xpv_test::ReadBytes(store.File());

    SUBCASE("a record that would take the file beyond the disk's room") {
        CHECK_FALSE(store.Record(folder / L"big.exe.manifest", L"Big >> " + std::wstring(1500, L'b')));
        CHECK(xpv_test::ReadBytes(store.File()) == before);
    }
    SUBCASE("a record that replaces a value with a longer one") {
        CHECK_FALSE(store.Record(recorded.front(), L"Longer >> " + std::wstring(2500, L'l')));
        CHECK(xpv_test::ReadBytes(store.File()) == before);
    }
    SUBCASE("a change that makes the file smaller still lands") {
        CHECK(store.Forget(recorded.front()));
        CHECK(FileSize(store.File()) < before.size());
        CHECK(ReadSectionEntries({store.File(), L"Main"}).size() == recorded.size() - 1);
    }
    CHECK_FALSE(AnyTemporaryFileIn(folder.Path()));
}
