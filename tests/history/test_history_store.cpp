#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "history/HistoryLines.h"
#include "history/HistoryStore.h"
#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFile.h"
#include "platform/IniEditor.h"
#include "platform/PathLinks.h"
#include "platform/TextEncoding.h"
#include "platform/UniqueHandle.h"
#include "support/FixturePath.h"
#include "support/TempFolder.h"
#include "support/TextBytes.h"
#include "support/doctest_profile.h"

using xpv_test::TempFolder;
using namespace std::string_literals;

namespace {

using Entries = std::vector<HistoryStore::Entry>;

struct Fixture {
    TempFolder appFolder{L"xpv-app"};
    TempFolder programs{L"xpv-programs"};
    HistoryStore store{appFolder / L"history.db"};

    // A manifest on disk and its entry in the history.
    std::wstring Themed(const std::wstring& name, const std::wstring& value) {
        const std::wstring manifest = programs / (name + L".exe.manifest");
        REQUIRE(WriteManifestFile(manifest, ComposeManifestDocument({}, ProcessorArchitecture::X86)));
        REQUIRE(store.Record(manifest, value));
        return manifest;
    }
    void Gone(const std::wstring& manifest) {
        SetFileAttributesW(manifest.c_str(), FILE_ATTRIBUTE_NORMAL);
        REQUIRE(DeleteFileW(manifest.c_str()));
    }
    std::vector<ProfileEntry> Stored() const { return ReadSectionEntries({store.File(), L"Main"}); }
};

}  // namespace

TEST_CASE("Pruning drops only the entries found gone, from the file as it is at that moment") {
    Fixture f;
    const std::wstring a = f.Themed(L"a", L"A >> first");
    const std::wstring b = f.Themed(L"b", L"B >> second");
    const std::wstring longValue = L"Long >> " + std::wstring(300, L'd');
    const std::wstring c = f.Themed(L"c", longValue);
    f.Gone(b);

    SUBCASE("an entry another copy of the program records after the read survives") {
        // The other copy writes after this one read the entries and found b gone.
        HistoryStore other(f.store.File());
        const std::wstring d = f.programs / L"d.exe.manifest";
        REQUIRE(other.Record(d, L"D >> added meanwhile"));
        REQUIRE(f.store.Drop({b}));
        const std::vector<ProfileEntry> stored = f.Stored();
        REQUIRE(stored.size() == 3);
        CHECK(stored[0].key == a);
        CHECK(stored[1].key == c);
        CHECK(stored[2] == ProfileEntry{d, L"D >> added meanwhile"});
    }
    SUBCASE("a load prunes the entry whose manifest is gone and keeps a long value whole") {
        const HistoryStore::Listing listing = f.store.List();
        CHECK(listing.trouble == HistoryStore::Trouble::None);
        // Values are listed as the per-key read gives them; the file keeps the whole value.
        CHECK(listing.entries == Entries{{a, L"A >> first"}, {c, longValue.substr(0, kProfileValueLimit)}});
        const auto text = ReadProfileText(f.store.File());
        REQUIRE(text.has_value());
        CHECK(text->find(c + L"=" + longValue + L"\r\n") != std::wstring::npos);
        CHECK(text->find(b) == std::wstring::npos);
    }
}

TEST_CASE("A history that has lost nothing is not rewritten by a load") {
    Fixture f;
    f.Themed(L"a", L"A >> first");
    const std::string before = xpv_test::ReadBytes(f.store.File());
    FILETIME written{};
    {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        REQUIRE(GetFileAttributesExW(f.store.File().c_str(), GetFileExInfoStandard, &data));
        written = data.ftLastWriteTime;
    }
    Sleep(20);
    CHECK(f.store.List().entries.size() == 1);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    REQUIRE(GetFileAttributesExW(f.store.File().c_str(), GetFileExInfoStandard, &data));
    CHECK(CompareFileTime(&data.ftLastWriteTime, &written) == 0);
    CHECK(xpv_test::ReadBytes(f.store.File()) == before);
}

TEST_CASE("Lines that name no manifest of ours are no entries: not listed, not pruned, kept as they are") {
    Fixture f;
    const std::wstring ours = f.Themed(L"ours", L"Ours >> listed");
    // What a planted or hand-edited history may hold; none of these names a file that exists.
    const std::wstring planted[] = {
        L"relgone.exe.manifest",                // no drive, no folder
        L"C:\\windows\\win.ini",                // not a manifest
        L"C:\\gone\\data.manifest",             // a manifest's ending without ".exe"
        L"\\\\?\\C:\\gone\\app.exe.manifest",   // the device form
        L"\\\\server\\app.exe.manifest",        // a server without a share
        L"C:app.exe.manifest",                  // relative to the drive's current folder
    };
    for (const std::wstring& key : planted) REQUIRE(WriteProfileValue({f.store.File(), L"Main"}, key, L"v"));
    const std::string before = xpv_test::ReadBytes(f.store.File());

    CHECK(f.store.List().entries == Entries{{ours, L"Ours >> listed"}});
    CHECK(xpv_test::ReadBytes(f.store.File()) == before);
}

TEST_CASE("A history entry is an absolute path to a file named *.exe.manifest") {
    const struct {
        const wchar_t* path;
        bool entry;
    } cases[] = {
        {L"C:\\Apps\\app.exe.manifest", true},
        {L"c:\\APP.EXE.MANIFEST", true},
        {L"T:\\\\root.exe.manifest", true},
        {L"\\\\server\\share\\app.exe.manifest", true},
        {L"C:\\Apps\\app.manifest", false},
        {L"C:\\Apps\\app.exe", false},
        {L"app.exe.manifest", false},
        {L"\\Apps\\app.exe.manifest", false},
        {L"C:app.exe.manifest", false},
        {L"\\\\?\\C:\\app.exe.manifest", false},
        {L"\\\\.\\C:\\app.exe.manifest", false},
        {L"\\\\server\\app.exe.manifest", false},
        {L"\\\\\\share\\app.exe.manifest", false},
    };
    for (const auto& c : cases) {
        CAPTURE(std::wstring(c.path));
        CHECK(IsHistoryEntryPath(c.path) == c.entry);
    }
}

TEST_CASE("A history file that is a link, a folder or a pipe is never read or changed") {
    // link.db leads to the empty target.db.
    const std::wstring tree = xpv_test::FixturePath(XPV_HISTORY_LINKS);
    const std::wstring target = tree + L"\\target.db";
    TempFolder programs{L"xpv-programs"};
    const std::wstring manifest = programs / L"app.exe.manifest";
    REQUIRE(WriteManifestFile(manifest, ComposeManifestDocument({}, ProcessorArchitecture::X86)));
    for (const wchar_t* name : {L"link.db", L"folder.db", L"pipe.db"}) {
        CAPTURE(std::wstring(name));
        HistoryStore store(tree + L"\\" + name);
        CHECK_FALSE(store.Record(manifest, L"App >> tool"));
        const HistoryStore::Listing listing = store.List();
        CHECK(listing.trouble == HistoryStore::Trouble::Unreadable);
        CHECK(listing.entries.empty());
        CHECK_FALSE(store.Forget(manifest));
    }
    CHECK(xpv_test::ReadBytes(target).empty());
    CHECK(GetFileAttributesW(target.c_str()) == FILE_ATTRIBUTE_ARCHIVE);
    CHECK_FALSE(xpv_test::AnyFileMatches(tree + L"\\*.tmp"));
}

TEST_CASE("A history file with another name (a hard link) is never read or changed, so the names never part") {
    Fixture f;
    const std::wstring a = f.Themed(L"a", L"A >> first");
    TempFolder otherProgram{L"xpv-other"};
    const std::wstring otherName = otherProgram / L"history.db";
    REQUIRE(CreateHardLinkW(otherName.c_str(), f.store.File().c_str(), nullptr));
    const std::string before = xpv_test::ReadBytes(f.store.File());

    for (const std::wstring& name : {f.store.File(), otherName}) {
        CAPTURE(name);
        HistoryStore store(name);
        CHECK_FALSE(store.Record(f.programs / L"b.exe.manifest", L"B >> second"));
        const HistoryStore::Listing listing = store.List();
        CHECK(listing.trouble == HistoryStore::Trouble::Unreadable);
        CHECK(listing.entries.empty());
        CHECK_FALSE(store.Forget(a));
    }
    // Still one file under two names, as it was.
    CHECK(HasOtherNames(f.store.File()));
    CHECK(xpv_test::ReadBytes(otherName) == before);
    CHECK_FALSE(xpv_test::AnyFileMatches(f.appFolder / L"*.tmp"));

    // Its other name gone, the file is the history again.
    REQUIRE(DeleteFileW(otherName.c_str()));
    CHECK(f.store.List().entries == Entries{{a, L"A >> first"}});
}

TEST_CASE("A history in a folder that takes no new file is changed in place: recorded, pruned and forgotten") {
    // Made by the test build: history.db, which may be written, in a folder that takes no new file.
    const std::wstring sealed = xpv_test::FixturePath(XPV_SEALED_FOLDER);
    REQUIRE_FALSE(xpv_test::WriteBytes(sealed + L"\\new.txt", ""));
    HistoryStore store(sealed + L"\\history.db");
    // As another program may leave it: in UTF-8 without a mark, which the first change converts.
    REQUIRE(xpv_test::WriteBytes(store.File(), "[Main]\r\nnote=caf\xC3\xA9\r\n"));
    TempFolder programs{L"xpv-programs"};
    std::vector<std::wstring> manifests;
    for (const wchar_t* name : {L"a", L"b", L"c"}) {
        manifests.push_back(programs / (name + std::wstring(L".exe.manifest")));
        REQUIRE(WriteManifestFile(manifests.back(), ComposeManifestDocument({}, ProcessorArchitecture::X86)));
        CHECK(store.Record(manifests.back(), name + std::wstring(L" >> caf\u00E9")));
    }
    SetFileAttributesW(manifests[1].c_str(), FILE_ATTRIBUTE_NORMAL);
    REQUIRE(DeleteFileW(manifests[1].c_str()));

    const HistoryStore::Listing listing = store.List();
    CHECK(listing.trouble == HistoryStore::Trouble::None);
    CHECK(listing.entries == Entries{{manifests[0], L"a >> caf\u00E9"}, {manifests[2], L"c >> caf\u00E9"}});
    CHECK(store.Forget(manifests[0]));
    CHECK(ReadSectionEntries({store.File(), L"Main"}) ==
          std::vector<ProfileEntry>{{L"note", L"caf\u00E9"}, {manifests[2], L"c >> caf\u00E9"}});
    CHECK(xpv_test::NamesIn(sealed) == std::vector<std::wstring>{L"history.db"});
}

TEST_CASE("A read-only history is changed by nothing, and every change it refuses is told") {
    Fixture f;
    const std::wstring a = f.Themed(L"a", L"A >> first");
    const std::wstring b = f.Themed(L"b", L"B >> second");
    f.Gone(b);
    REQUIRE(SetFileAttributesW(f.store.File().c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string before = xpv_test::ReadBytes(f.store.File());

    CHECK_FALSE(f.store.Record(f.programs / L"c.exe.manifest", L"C >> third"));
    const HistoryStore::Listing listing = f.store.List();
    CHECK(listing.entries == Entries{{a, L"A >> first"}});
    CHECK(listing.trouble == HistoryStore::Trouble::NotUpdated);
    CHECK_FALSE(f.store.Forget(a));
    CHECK(xpv_test::ReadBytes(f.store.File()) == before);

    // Writable again, the prune it could not make lands at the next load.
    REQUIRE(SetFileAttributesW(f.store.File().c_str(), FILE_ATTRIBUTE_NORMAL));
    CHECK(f.store.List().trouble == HistoryStore::Trouble::None);
    CHECK(f.Stored() == std::vector<ProfileEntry>{{a, L"A >> first"}});
}

TEST_CASE("A history in UTF-16 or UTF-8 without a byte-order mark is converted once, and no entry is misread") {
    Fixture f;
    // Paths and values outside ASCII, which the platform would misread in the ANSI code page.
    const std::wstring cafe = f.Themed(L"caf\u00e9", L"Caf\u00e9 >> one");
    const std::wstring cjk = f.Themed(L"\u6587\u4ef6", L"\u6587 >> two");
    const std::wstring plain = f.Themed(L"plain", L"Plain >> three");
    const Entries all = {{cafe, L"Caf\u00e9 >> one"}, {cjk, L"\u6587 >> two"}, {plain, L"Plain >> three"}};
    const std::wstring text = L"[Main]\r\n" + cafe + L"=Caf\u00e9 >> one\r\n" + cjk + L"=\u6587 >> two\r\n" +
                              plain + L"=Plain >> three\r\n";
    const std::string utf16Le = xpv_test::Utf16Bytes(text, false);
    const std::string utf16Be = xpv_test::Utf16Bytes(text, true);
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-16LE", utf16Le},
        {"UTF-16BE", utf16Be},
        {"UTF-8", Utf8FromWide(text)},
    };
    for (const auto& c : cases) {
        CAPTURE(std::string(c.what));
        REQUIRE(xpv_test::WriteBytes(f.store.File(), c.bytes));
        SUBCASE("a load lists every entry, converting the file") {
            const HistoryStore::Listing listing = f.store.List();
            CHECK(listing.entries == all);
            CHECK(listing.trouble == HistoryStore::Trouble::None);
            const std::string converted = xpv_test::ReadBytes(f.store.File());
            CHECK(converted == "\xFF\xFE" + utf16Le);
            // Once: the next load finds the program's own form and leaves it alone.
            CHECK(f.store.List().entries == all);
            CHECK(xpv_test::ReadBytes(f.store.File()) == converted);
        }
        SUBCASE("a record converts the file and keeps every entry") {
            const std::wstring added = f.programs / L"added.exe.manifest";
            REQUIRE(f.store.Record(added, L"\u00c0dded >> four"));
            CHECK(xpv_test::ReadBytes(f.store.File()).starts_with("\xFF\xFE"));
            CHECK(f.Stored() == std::vector<ProfileEntry>{{cafe, all[0].value}, {cjk, all[1].value},
                                                          {plain, all[2].value}, {added, L"\u00c0dded >> four"}});
        }
    }
}

TEST_CASE("A history that cannot be read as it is meant is neither listed, pruned nor changed") {
    Fixture f;
    const std::wstring gone = f.programs / L"caf\u00e9.exe.manifest";
    const std::string utf8 = Utf8FromWide(L"[Main]\r\n" + gone + L"=Caf\u00e9 >> gone\r\n");
    const struct {
        const char* what;
        std::string bytes;
        DWORD attributes;
    } cases[] = {
        // NUL bytes at odd and even places alike: no text of a known form.
        {"bytes of no known encoding", "[Main]\r\nC:\\a.exe.manifest=\0\0x\0y\0\0z\r\n"s,
         FILE_ATTRIBUTE_NORMAL},
        {"UTF-8 without a mark that may not be converted", utf8, FILE_ATTRIBUTE_READONLY},
    };
    for (const auto& c : cases) {
        CAPTURE(std::string(c.what));
        SetFileAttributesW(f.store.File().c_str(), FILE_ATTRIBUTE_NORMAL);
        REQUIRE(xpv_test::WriteBytes(f.store.File(), c.bytes));
        REQUIRE(SetFileAttributesW(f.store.File().c_str(), c.attributes));
        const HistoryStore::Listing listing = f.store.List();
        CHECK(listing.entries.empty());
        CHECK(listing.trouble == HistoryStore::Trouble::Unreadable);
        CHECK_FALSE(f.store.Record(f.programs / L"new.exe.manifest", L"New >> entry"));
        CHECK(xpv_test::ReadBytes(f.store.File()) == c.bytes);
    }
    SetFileAttributesW(f.store.File().c_str(), FILE_ATTRIBUTE_NORMAL);
}

namespace {

// A running history_writer: another process recording `count` entries of `folder`.
class Writer {
public:
    Writer(const std::wstring& history, const std::wstring& folder, int count) {
        std::wstring command = L"\"" XPV_HISTORY_WRITER L"\" \"" + history + L"\" \"" + folder + L"\" " +
                               std::to_wstring(count);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        REQUIRE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
        process_ = UniqueHandle(process.hProcess);
        UniqueHandle thread(process.hThread);
    }
    bool Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
    // The writer's exit code once it ended; every entry written gives 0.
    DWORD Finish() const {
        REQUIRE(WaitForSingleObject(process_.get(), 120000) == WAIT_OBJECT_0);
        DWORD code = 1;
        GetExitCodeProcess(process_.get(), &code);
        return code;
    }

private:
    UniqueHandle process_;
};

}  // namespace

TEST_CASE("Two copies of the program recording at the same moment lose no entry") {
    Fixture f;
    const Writer first(f.store.File(), f.programs / L"first", 200);
    const Writer second(f.store.File(), f.programs / L"second", 200);
    CHECK(first.Finish() == 0);
    CHECK(second.Finish() == 0);
    const std::vector<ProfileEntry> stored = f.Stored();
    CHECK(stored.size() == 400);
    for (int i : {0, 199}) {
        for (const wchar_t* folder : {L"first", L"second"}) {
            const std::wstring key = f.programs / (std::wstring(folder) + L"\\entry" + std::to_wstring(i) + L".exe.manifest");
            CHECK(std::count_if(stored.begin(), stored.end(), [&](const ProfileEntry& row) { return row.key == key; }) == 1);
        }
    }
}

TEST_CASE("A prune in one copy while another records keeps every entry recorded") {
    Fixture f;
    // The other copy records programs whose manifests exist; this one keeps pruning gone ones.
    const std::wstring folder = f.programs / L"kept";
    REQUIRE(CreateDirectoryW(folder.c_str(), nullptr));
    constexpr int kCount = 150;
    for (int i = 0; i < kCount; ++i) {
        REQUIRE(xpv_test::WriteBytes(folder + L"\\entry" + std::to_wstring(i) + L".exe.manifest", "x"));
    }
    const Writer writer(f.store.File(), folder, kCount);
    int prunes = 0;
    while (writer.Running()) {
        const std::wstring stale = f.programs / (L"stale" + std::to_wstring(prunes) + L".exe.manifest");
        REQUIRE(f.store.Record(stale, L"Stale >> gone"));
        f.store.List();
        ++prunes;
    }
    CHECK(writer.Finish() == 0);
    MESSAGE("prunes while the other copy recorded: " << prunes);
    CHECK(prunes > 0);
    const Entries listed = f.store.List().entries;
    CHECK(listed.size() == kCount);
    for (const HistoryStore::Entry& entry : listed) CHECK(entry.manifestPath.find(L"\\stale") == std::wstring::npos);
}
