// The window and the console program beside it theming programs of one folder at the same time:
// both record in the one history.db under the shared lock, and no entry is lost.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "history/HistoryLines.h"
#include "manifest/ManifestFile.h"
#include "platform/IniEditor.h"
#include "app/MessagePump.h"
#include "support/CliProcess.h"
#include "support/FixturePath.h"
#include "support/PanelViews.h"
#include "support/TempFolder.h"
#include "support/WindowInput.h"
#include "support/WindowTestOptions.h"
#include "support/doctest_wide.h"

namespace {

constexpr int kWindowPrograms = 30;
// Many more, so that the console program is still at work when the window's action ends.
constexpr int kConsolePrograms = 300;

std::wstring Numbered(const wchar_t* prefix, int number) {
    wchar_t name[32];
    swprintf(name, 32, L"%ls%03d.exe", prefix, number);
    return name;
}

}  // namespace

TEST_CASE("The window and the console program theming one folder at once keep every history entry") {
    // The console program's folder is the window's: one history.db for both.
    const xpv_test::CliFolder cli(xpv_test::FixturePath(XPV_CLI_PROGRAM));
    const xpv_test::TempFolder programs(L"xpv-both");
    const std::wstring plain = xpv_test::FixturePath(XPV_VESTRIM_FIXTURES) + L"\\plain.exe";
    std::vector<std::wstring> consoleWords{L"theme"};
    std::vector<std::wstring> expected;
    for (int i = 0; i < kConsolePrograms; ++i) {
        const std::wstring program = programs / Numbered(L"cli", i);
        REQUIRE(xpv_test::CopyInto(plain, program));
        consoleWords.push_back(program);
        expected.push_back(ManifestPathFor(program));
    }
    for (int i = 0; i < kWindowPrograms; ++i) {
        const std::wstring program = programs / Numbered(L"win", i);
        REQUIRE(xpv_test::CopyInto(plain, program));
        expected.push_back(ManifestPathFor(program));
    }

    std::vector<std::wstring> messages;
    MainForm form(xpv_test::WindowTestOptions(cli.Path(), &messages));
    REQUIRE(form.Create());
    DoEvents();
    VestrimPanel& panel = xpv_test::OpenPanel<VestrimPanel>(form);
    panel.OpenFolder(programs.Path());
    CheckList& unthemed = VestrimPanel::TestView{panel}.lstUnthemed();
    for (int i = 0; i < unthemed.Count(); ++i) {
        if (unthemed.Text(i).starts_with(L"win")) unthemed.SetTicked(i, true);
    }

    const xpv_test::StartedCli console(cli.Program(), consoleWords);
    // The window starts once the console program has begun to write.
    const std::wstring firstManifest = ManifestPathFor(programs / Numbered(L"cli", 0));
    for (int waited = 0; waited < 30000 && !IsManifestPresent(firstManifest); waited += 5) Sleep(5);
    REQUIRE(IsManifestPresent(firstManifest));
    xpv_test::ClickButton(GetDlgItem(panel.Window(), VestrimPanel::kCmdVestrim));
    CHECK_MESSAGE(console.Running(), "the console program ended before the window's action did: no overlap");
    const xpv_test::CliRun run = console.Finish();
    CHECK(run.exitCode == 0);
    CHECK(run.err.empty());
    CHECK(messages.empty());

    std::vector<std::wstring> recorded;
    for (const ProfileEntry& row : ReadSectionEntries({cli.History(), L"Main"})) {
        recorded.push_back(ManifestPathOfHistoryKey(row.key));
    }
    std::sort(recorded.begin(), recorded.end());
    std::sort(expected.begin(), expected.end());
    CHECK(recorded == expected);
}
