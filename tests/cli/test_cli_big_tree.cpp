// The console program over a tree of more programs than the window's result list can hold: it
// lists and themes every one, as a real process, and the history records them all.
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

size_t LinesStartingWith(const std::vector<std::wstring>& lines, const std::wstring& start) {
    return static_cast<size_t>(
        std::count_if(lines.begin(), lines.end(), [&](const std::wstring& line) { return line.starts_with(start); }));
}

}  // namespace

TEST_CASE("A tree of more than 65,535 programs is listed and themed whole, and the history records every one") {
    static_assert(kPrograms > 65535);
    const xpv_test::CliFolder cli(kCli);

    const xpv_test::CliRun unthemed = cli.Run({L"list", kTree, L"--recurse", L"--unthemed"});
    CHECK(unthemed.exitCode == 0);
    CHECK(unthemed.err.empty());
    CHECK(LinesStartingWith(unthemed.OutLines(), L"unthemed  ") == kPrograms);

    const xpv_test::CliRun themed = cli.Run({L"theme", kTree, L"--recurse"});
    CHECK(themed.exitCode == 0);
    CHECK(themed.err.empty());
    const std::vector<std::wstring> lines = themed.OutLines();
    CHECK(lines.size() == kPrograms);
    CHECK(LinesStartingWith(lines, L"themed: ") == kPrograms);
    CHECK(lines.back() == L"themed: " + kTree + L"\\f069\\p00999.exe");

    const std::optional<std::vector<HistoryStore::Entry>> entries = HistoryStore(cli.History()).ReadAll();
    REQUIRE(entries);
    CHECK(entries->size() == kPrograms);

    const xpv_test::CliRun listed = cli.Run({L"list", kTree, L"--recurse", L"--themed"});
    CHECK(listed.exitCode == 0);
    CHECK(LinesStartingWith(listed.OutLines(), L"themed  ") == kPrograms);
}
