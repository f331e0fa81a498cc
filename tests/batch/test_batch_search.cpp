#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "batch/BatchSearch.h"
#include "batch/batch_programs.h"
#include "support/FixturePath.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using batch_test::AddProgram;
using batch_test::kPrograms;
using xpv_test::DeepFolder;
using xpv_test::TempFolder;

namespace {

const std::wstring kLinkTree = xpv_test::FixturePath(XPV_BATCH_LINK_TREE);

// Records what the search reports; the test decides when it stops and what happens in its yields.
class RecordingHost : public SearchHost {
public:
    void YieldToWindow() override {
        ++yields;
        if (onYield) onYield();
    }
    bool StopRequested() override { return stopWhen && stopWhen(); }
    void ShowFolder(const std::wstring& directory) override { folders.push_back(directory); }
    void ShowProgress(const SearchProgress& progress) override {
        ++progressReports;
        lastProgress = progress;
    }
    void AddResult(const std::wstring& executablePath) override {
        paths.push_back(executablePath);
        if (onResult) onResult(executablePath);
    }
    void PassedThemed(const std::wstring& executablePath) override { passedThemed.push_back(executablePath); }

    std::function<void()> onYield;
    std::function<bool()> stopWhen;
    std::function<void(const std::wstring&)> onResult;
    int yields = 0;
    int progressReports = 0;
    SearchProgress lastProgress;
    std::vector<std::wstring> folders;
    std::vector<std::wstring> paths;
    std::vector<std::wstring> passedThemed;
};

SearchOutcome Run(RecordingHost& host, const std::wstring& start, SearchMode mode, bool subdirectories = true) {
    SearchOptions options;
    options.startDirectory = start;
    options.mode = mode;
    options.scanSubdirectories = subdirectories;
    return RunBatchSearch(options, host);
}

std::vector<std::wstring> NamesOf(const std::vector<std::wstring>& paths) {
    std::vector<std::wstring> names;
    for (const std::wstring& path : paths) names.push_back(path.substr(path.find_last_of(L'\\') + 1));
    return names;
}

}  // namespace

TEST_CASE("A themed search lists every manifest, even one whose program is gone") {
    TempFolder folder;
    folder.AddFile(L"a.exe.manifest");
    RecordingHost host;
    const SearchOutcome outcome = Run(host, folder.Path(), SearchMode::Themed);

    CHECK(host.paths == std::vector<std::wstring>{folder / L"a.exe"});
    CHECK(outcome.end == SearchEnd::Complete);
    CHECK(outcome.progress.counters.themedFiles == 1);
    CHECK(outcome.progress.counters.unthemedFiles == 0);
    CHECK(outcome.progress.counters.scannedDirectories == 1);
    CHECK(outcome.progress.lastResult == folder / L"a.exe");
}

TEST_CASE("An unthemed search lists the programs without a manifest and counts the others as themed") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"a.exe");
    folder.AddFile(L"a.exe.manifest");
    AddProgram(folder, L"alpha", L"b.exe");
    RecordingHost host;
    const SearchOutcome outcome = Run(host, folder.Path(), SearchMode::Unthemed);

    CHECK(host.paths == std::vector<std::wstring>{folder / L"b.exe"});
    CHECK(host.passedThemed == std::vector<std::wstring>{folder / L"a.exe"});
    const SearchCounters& counters = outcome.progress.counters;
    CHECK(counters.scannedFiles == 2);
    CHECK(counters.themedFiles == 1);
    CHECK(counters.unthemedFiles == 1);
    CHECK(counters.results == 1);
}

TEST_CASE("Hidden, system and read-only programs are found; folders and look-alike names are no files") {
    TempFolder folder;
    folder.AddFile(L"hidden.exe", FILE_ATTRIBUTE_HIDDEN);
    folder.AddFile(L"system.exe", FILE_ATTRIBUTE_SYSTEM);
    folder.AddFile(L"locked.exe", FILE_ATTRIBUTE_READONLY);
    folder.AddFile(L"a.exec");  // its 8.3 name A~1.EXE matches the platform's pattern
    folder.AddFile(L"notes.txt");
    folder.AddFolder(L"x.exe");
    folder.AddFile(L"x.exe\\inner.exe");
    RecordingHost host;
    const SearchOutcome outcome = Run(host, folder.Path(), SearchMode::Unthemed);

    std::vector<std::wstring> names = NamesOf(host.paths);
    std::sort(names.begin(), names.end());
    CHECK(names == std::vector<std::wstring>{L"hidden.exe", L"inner.exe", L"locked.exe", L"system.exe"});
    CHECK(outcome.progress.counters.scannedFiles == 4);
    CHECK(outcome.progress.counters.scannedDirectories == 2);  // the folder x.exe is walked as a folder
}

TEST_CASE("Depth first, each folder's files before its subfolders, subfolders in the folder list's order") {
    TempFolder folder;
    // "beta" before "Alpha" in code units, after it in the folder list.
    for (const wchar_t* relative : {L"beta", L"beta\\X", L"Alpha", L"Alpha\\X"}) folder.AddFolder(relative);
    for (const wchar_t* relative : {L"top.exe", L"beta\\b.exe", L"beta\\X\\bx.exe", L"Alpha\\a.exe",
                                    L"Alpha\\X\\ax.exe"}) {
        folder.AddFile(relative);
    }

    SUBCASE("the whole tree") {
        RecordingHost host;
        const SearchOutcome outcome = Run(host, folder.Path(), SearchMode::Unthemed);
        CHECK(NamesOf(host.paths) ==
              std::vector<std::wstring>{L"top.exe", L"a.exe", L"ax.exe", L"b.exe", L"bx.exe"});
        CHECK(host.paths[2] == folder / L"Alpha\\X\\ax.exe");
        CHECK(outcome.progress.counters.scannedDirectories == 5);
        CHECK(host.folders.front() == folder.Path());
    }
    SUBCASE("without subdirectories: the start folder alone") {
        RecordingHost host;
        const SearchOutcome outcome = Run(host, folder.Path(), SearchMode::Unthemed, false);
        CHECK(NamesOf(host.paths) == std::vector<std::wstring>{L"top.exe"});
        CHECK(outcome.progress.counters.scannedDirectories == 1);
    }
}

TEST_CASE("At a drive root the paths have one backslash after the colon") {
    // The test session maps a drive letter of its own to a folder; other tests use it as well.
    const std::wstring root = sizeof(void*) == 8 ? L"T:\\" : L"U:\\";
    REQUIRE(GetFileAttributesW(root.c_str()) != INVALID_FILE_ATTRIBUTES);
    const std::wstring name = L"xpv_batch_" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    REQUIRE(xpv_test::CopyInto(kPrograms + L"\\alpha.exe", root + name));
    RecordingHost host;
    const SearchOutcome outcome = Run(host, root, SearchMode::Unthemed, false);
    xpv_test::RemoveTree(root + name);

    CHECK(std::find(host.paths.begin(), host.paths.end(), root + name) != host.paths.end());
    for (const std::wstring& path : host.paths) CHECK(path.substr(0, 4) != root + L"\\");
    CHECK(host.folders == std::vector<std::wstring>{root});
    CHECK(outcome.progress.counters.scannedDirectories == 1);
}

TEST_CASE("STOP ends the search after the file in hand; the last progress is that of the file") {
    TempFolder folder;
    for (const wchar_t* relative : {L"A", L"B"}) folder.AddFolder(relative);
    for (const wchar_t* relative : {L"1.exe", L"2.exe", L"A\\3.exe", L"A\\4.exe", L"B\\5.exe"}) {
        folder.AddFile(relative);
    }
    RecordingHost host;
    // Pressed while the second result is being added.
    bool stopPressed = false;
    host.onResult = [&](const std::wstring&) { stopPressed = host.paths.size() == 2 || stopPressed; };
    host.stopWhen = [&] { return stopPressed; };
    const SearchOutcome outcome = Run(host, folder.Path(), SearchMode::Unthemed);

    CHECK(outcome.end == SearchEnd::Stopped);
    CHECK(host.paths == std::vector<std::wstring>{folder / L"1.exe", folder / L"2.exe"});
    CHECK(outcome.progress.counters.scannedFiles == 2);
    CHECK(outcome.progress.counters.results == 2);
    // The last progress shown is that of the second file.
    CHECK(host.lastProgress.counters.scannedFiles == 2);
    CHECK(host.lastProgress.lastResult == folder / L"2.exe");
}

TEST_CASE("A folder that cannot be entered is counted as skipped and the walk goes on") {
    TempFolder folder;
    for (const wchar_t* relative : {L"A", L"B", L"C"}) folder.AddFolder(relative);
    for (const wchar_t* relative : {L"A\\a.exe", L"B\\b.exe", L"C\\c.exe"}) folder.AddFile(relative);
    RecordingHost host;
    // B vanishes after the start folder was listed, while A is being examined.
    host.onResult = [&](const std::wstring& path) {
        if (path == folder / L"A\\a.exe") xpv_test::RemoveTree(folder / L"B");
    };
    const SearchOutcome outcome = Run(host, folder.Path(), SearchMode::Unthemed);

    CHECK(NamesOf(host.paths) == std::vector<std::wstring>{L"a.exe", L"c.exe"});
    CHECK(outcome.end == SearchEnd::Complete);
    CHECK(outcome.progress.counters.scannedDirectories == 3);
    CHECK(outcome.progress.counters.skippedDirectories == 1);

    SUBCASE("a start folder that cannot be read is the one skipped") {
        RecordingHost missing;
        const SearchOutcome nothing = Run(missing, folder / L"B", SearchMode::Unthemed);
        CHECK(missing.paths.empty());
        CHECK(nothing.progress.counters.scannedDirectories == 0);
        CHECK(nothing.progress.counters.skippedDirectories == 1);
        CHECK(nothing.progress.lastResult.empty());
    }
}

TEST_CASE("Programs and folders whose names no path can hold are neither examined nor entered, and count as skipped") {
    // Beside good.exe and fine\inner.exe: six programs named "a\b.exe", "c:d.exe", "..\escape.exe",
    // "what?.exe", "star*.exe", "pipe|.exe", and two folders "dir\x" and "d:e" with a program each.
    const std::wstring top = xpv_test::FixturePath(XPV_ODD_NAMES) + L"\\top";
    const struct {
        bool subdirectories;
        std::vector<std::wstring> found;
        int64_t scanned;
        int64_t skipped;
    } cases[] = {
        {true, {top + L"\\good.exe", top + L"\\fine\\inner.exe"}, 2, 8},
        {false, {top + L"\\good.exe"}, 1, 6},
    };
    for (const auto& c : cases) {
        CAPTURE(c.subdirectories);
        RecordingHost host;
        const SearchOutcome outcome = Run(host, top, SearchMode::Unthemed, c.subdirectories);
        CHECK(host.paths == c.found);
        CHECK(outcome.progress.counters.scannedFiles == static_cast<int64_t>(c.found.size()));
        CHECK(outcome.progress.counters.scannedDirectories == c.scanned);
        CHECK(outcome.progress.counters.skippedDirectories == c.skipped);
    }
}

TEST_CASE("Symbolic links are not followed, and a loop does not make the walk go round") {
    // walked\A\back leads back to walked, walked\A\outside to a folder beside it.
    const std::wstring walked = kLinkTree + L"\\walked";
    const DWORD link = GetFileAttributesW((walked + L"\\A\\back").c_str());
    REQUIRE(link != INVALID_FILE_ATTRIBUTES);
    REQUIRE((link & FILE_ATTRIBUTE_DIRECTORY) != 0);
    RecordingHost host;
    const SearchOutcome outcome = Run(host, walked, SearchMode::Unthemed);

    CHECK(host.paths == std::vector<std::wstring>{walked + L"\\top.exe", walked + L"\\A\\a.exe",
                                                  walked + L"\\B\\b.exe"});
    CHECK(outcome.progress.counters.scannedDirectories == 3);
    CHECK(outcome.progress.counters.skippedDirectories == 0);
}

TEST_CASE("Paths longer than MAX_PATH are walked, read and tested for manifests") {
    TempFolder folder;
    const DeepFolder deepFolder(folder);
    const std::wstring& deep = deepFolder.Path();
    REQUIRE(deep.size() > MAX_PATH);
    for (const wchar_t* name : {L"\\deep.exe", L"\\themed.exe"}) {
        REQUIRE(CopyFileW((kPrograms + L"\\alpha.exe").c_str(), DeepFolder::LongForm(deep + name).c_str(), FALSE));
    }
    REQUIRE(xpv_test::WriteBytes(DeepFolder::LongForm(deep + L"\\themed.exe.manifest"), "<assembly/>"));

    SUBCASE("unthemed") {
        RecordingHost host;
        const SearchOutcome outcome = Run(host, folder.Path(), SearchMode::Unthemed);
        CHECK(host.paths == std::vector<std::wstring>{deep + L"\\deep.exe"});
        CHECK(outcome.progress.counters.themedFiles == 1);
        CHECK(outcome.progress.counters.scannedDirectories == 6);
        CHECK(outcome.progress.counters.skippedDirectories == 0);
    }
    SUBCASE("themed") {
        RecordingHost host;
        Run(host, folder.Path(), SearchMode::Themed);
        CHECK(host.paths == std::vector<std::wstring>{deep + L"\\themed.exe"});
    }
}

TEST_CASE("The progress is shown about 30 times a second at most, the last always") {
    TempFolder folder;
    constexpr int kFiles = 300;
    for (int i = 0; i < kFiles; ++i) folder.AddFile(L"m" + std::to_wstring(i) + L".exe.manifest");
    RecordingHost host;
    const DWORD start = GetTickCount();
    const SearchOutcome outcome = Run(host, folder.Path(), SearchMode::Themed);
    const DWORD elapsed = GetTickCount() - start;

    CHECK(outcome.progress.counters.results == kFiles);
    // The window's messages run after every file.
    CHECK(host.yields >= kFiles);
    // One at the start, one per 33 ms, the last; a report per file would be 300.
    CAPTURE(elapsed);
    CHECK(host.progressReports <= static_cast<int>(elapsed / 33) + 2);
    CHECK(host.lastProgress.counters.scannedFiles == kFiles);
    CHECK(host.lastProgress.counters.themedFiles == kFiles);
    CHECK(host.lastProgress.lastResult == host.paths.back());
}
