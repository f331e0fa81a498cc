// The console program over a tree of more programs than the window's result list can hold: it
// themes and lists every one, as a real process, and the history records them all.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "history/HistoryStore.h"
#include "support/CliProcess.h"
#include "support/FixturePath.h"
#include "support/doctest_wide.h"

namespace {

const std::wstring kCli = xpv_test::FixturePath(XPV_CLI_PROGRAM);
const std::wstring kTree = xpv_test::FixturePath(XPV_BIG_TREE);
constexpr size_t kPrograms = XPV_BIG_TREE_PROGRAMS;

// Minutes even natively, and the test shares the machine with the others.
constexpr DWORD kLongestRunMs = 40 * 60 * 1000;

xpv_test::CliRun RunToEnd(const xpv_test::CliFolder& cli, const std::vector<std::wstring>& words) {
    const xpv_test::StartedCli started(cli.Program(), words);
    REQUIRE(started.EndsWithin(kLongestRunMs));
    return started.Finish();
}

size_t LinesStartingWith(const std::vector<std::wstring>& lines, const std::wstring& start) {
    return static_cast<size_t>(
        std::count_if(lines.begin(), lines.end(), [&](const std::wstring& line) { return line.starts_with(start); }));
}

}  // namespace

TEST_CASE("A tree of more than 65,535 programs is themed and listed whole, and the history records every one") {
    static_assert(kPrograms > 65535);
    const xpv_test::CliFolder cli(kCli);

    // Every program found by the search is themed: the search has no limit of its own.
    const xpv_test::CliRun themed = RunToEnd(cli, {L"theme", kTree, L"--recurse"});
    CHECK(themed.exitCode == 0);
    CHECK(themed.err.empty());
    const std::vector<std::wstring> lines = themed.OutLines();
    CHECK(lines.size() == kPrograms);
    CHECK(LinesStartingWith(lines, L"themed: ") == kPrograms);
    CHECK(lines.back() == L"themed: " + kTree + L"\\f069\\p00999.exe");

    const std::optional<std::vector<HistoryStore::Entry>> entries = HistoryStore(cli.History()).ReadAll();
    REQUIRE(entries);
    CHECK(entries->size() == kPrograms);

    const xpv_test::CliRun listed = RunToEnd(cli, {L"list", kTree, L"--recurse", L"--themed"});
    CHECK(listed.exitCode == 0);
    CHECK(LinesStartingWith(listed.OutLines(), L"themed  ") == kPrograms);
}
