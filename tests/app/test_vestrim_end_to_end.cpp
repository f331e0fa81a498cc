// As a user would: a program in a folder is ticked and themed with the Vestrim panel's button,
// then really gets Common Controls 6 when run; the History panel lists it; removed again with the
// button, the program gets the system's copy back.
#include <windows.h>

#include "app/MainForm.h"
#include "support/PanelViews.h"
#include "support/WindowInput.h"
#include "support/WindowTestOptions.h"
#include "app/WindowText.h"
#include "manifest/ManifestFile.h"
#include "app/MessagePump.h"
#include "support/ComctlProbe.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using xpv_test::IsSystemCommonControls;
using xpv_test::LoadedCommonControls;
using xpv_test::TempFolder;

TEST_CASE("Theming a program through the window gives it Common Controls 6, and removing takes it back") {
    TempFolder appFolder(L"xpv-app");
    TempFolder programs(L"xpv-probe");
    const std::wstring probe = programs / L"probe.exe";
    const std::wstring report = programs / L"loaded.txt";
    REQUIRE(CopyFileW(XPV_OWN_PROBE, probe.c_str(), FALSE));
    REQUIRE(IsSystemCommonControls(LoadedCommonControls(probe, report)));

    MainForm form(xpv_test::WindowTestOptions(appFolder.Path()));
    REQUIRE(form.Create());
    SetForegroundWindow(form.Window());
    VestrimPanel& vestrim = MainForm::TestView{form}.Panel<VestrimPanel>();
    const VestrimPanel::TestView lists{vestrim};
    const HWND button = GetDlgItem(vestrim.Window(), VestrimPanel::kCmdVestrim);
    lists.Dir1().SetPath(programs.Path());
    REQUIRE(lists.lstUnthemed().Count() == 1);
    REQUIRE(lists.lstUnthemed().Text(0) == L"probe.exe");

    // Tick it with the space bar, as a user would, and press the button.
    SetFocus(lists.lstUnthemed().Handle());
    SendMessageW(lists.lstUnthemed().Handle(), WM_CHAR, L' ', 0);
    REQUIRE(lists.lstUnthemed().IsTicked(0));
    xpv_test::ClickButton(button);
    REQUIRE(lists.lstThemed().Count() == 1);
    CHECK(LoadedCommonControls(probe, report).find(L"\\winsxs\\") != std::wstring::npos);

    // The History panel lists it.
    const HistoryPanel::TestView history{xpv_test::OpenPanel<HistoryPanel>(form)};
    REQUIRE(history.lstHistory().Count() == 1);
    CHECK(history.ManifestPaths().front() == ManifestPathFor(probe));

    // Back on the Vestrim panel, the themed list removes it.
    xpv_test::OpenPanel<VestrimPanel>(form);
    xpv_test::ClickButton(GetDlgItem(vestrim.Window(), VestrimPanel::kCmdThemedSelAll));
    REQUIRE(TextOf(button) == L"Remove XP Theme NOW!!! ");
    xpv_test::ClickButton(button);
    CHECK(lists.lstUnthemed().Count() == 1);
    CHECK_FALSE(IsManifestPresent(ManifestPathFor(probe)));
    CHECK(IsSystemCommonControls(LoadedCommonControls(probe, report)));
}
