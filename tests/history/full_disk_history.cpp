// Runs under a file size limit (see history_fixtures.cmake): no file can grow beyond
// XPV_FILE_SIZE_LIMIT bytes, and a write that would is cut short and fails, as on a full disk.
#include <windows.h>

#include <string>

#include "history/HistoryStore.h"
#include "platform/IniEditor.h"
#include "support/FixturePath.h"
#include "support/TempFolder.h"
#include "support/doctest_profile.h"

using xpv_test::TempFolder;

namespace {

constexpr size_t kFileSizeLimit = XPV_FILE_SIZE_LIMIT;

size_t FileSize(const std::wstring& path) { return xpv_test::ReadBytes(path).size(); }

bool AnyTemporaryFileIn(const std::wstring& folder) { return xpv_test::AnyFileMatches(folder + L"\\*.tmp"); }

// Fills the history until it lies within three kilobytes of the limit, then makes one of the
// changes of the subcases: the file holds all of it or none of it.
void CheckChangesAtTheLimit(const std::wstring& historyFolder, const std::wstring& programs) {
    HistoryStore store(historyFolder + L"\\history.db");
    // Entries of about a kilobyte each, until the file lies within three of the limit.
    std::vector<std::wstring> recorded;
    while (recorded.empty() || FileSize(store.File()) < kFileSizeLimit - 3000) {
        recorded.push_back(programs + L"\\app" + std::to_wstring(recorded.size()) + L".exe.manifest");
        REQUIRE(store.Record(recorded.back(), L"Product >> " + std::wstring(480, L'd')));
    }
    const std::string before = xpv_test::ReadBytes(store.File());

    SUBCASE("a record that would take the file beyond the disk's room") {
        CHECK_FALSE(store.Record(programs + L"\\big.exe.manifest", L"Big >> " + std::wstring(1500, L'b')));
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
    CHECK_FALSE(AnyTemporaryFileIn(historyFolder));
}

}  // namespace

TEST_CASE("A history change the disk cannot hold leaves the file as it was and says so") {
    TempFolder folder;
    // The limit is in force: a file stops at it.
    REQUIRE(xpv_test::WriteBytes(folder / L"probe.bin", std::string(kFileSizeLimit, 'x')));
    REQUIRE_FALSE(xpv_test::WriteBytes(folder / L"probe.bin", std::string(kFileSizeLimit + 1, 'x')));
    DeleteFileW((folder / L"probe.bin").c_str());

    CheckChangesAtTheLimit(folder.Path(), folder.Path());
}

TEST_CASE("A history changed in place, in a folder that takes no new file, is put back when the disk cannot hold the change") {
    // Made by the test build: history.db in a folder that takes no new file.
    const std::wstring sealed = xpv_test::FixturePath(XPV_SEALED_FOLDER);
    REQUIRE_FALSE(xpv_test::WriteBytes(sealed + L"\\new.txt", ""));
    // Empty, in the encoding a new history gets, so that its entries take as much room as there.
    REQUIRE(xpv_test::WriteBytes(sealed + L"\\history.db", "\xFF\xFE"));
    TempFolder programs;
    CheckChangesAtTheLimit(sealed, programs.Path());
}
