#include <windows.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFile.h"
#include "platform/MessagePump.h"
#include "platform/UniqueHandle.h"
#include "support/InsideYield.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using xpv_test::FileExists;
using xpv_test::ReadBytes;
using xpv_test::TempFolder;

namespace {

const std::wstring kFixtures = XPV_VESTRIM_FIXTURES;
const std::wstring kApply = L"Apply XP Theme NOW!!! ";
const std::wstring kRemove = L"Remove XP Theme NOW!!! ";

// A folder with copies of the fixture programs under the names given.
void AddProgram(const TempFolder& folder, const wchar_t* fixture, const std::wstring& name) {
    REQUIRE(xpv_test::CopyInto(kFixtures + L"\\" + fixture + L".exe", folder / name));
}

void AddManifest(const TempFolder& folder, const std::wstring& exeName, const ManifestDetails& details,
                 DWORD attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) {
    const std::wstring path = folder / (exeName + L".manifest");
    REQUIRE(xpv_test::WriteBytes(path, ComposeManifestDocument(details, ProcessorArchitecture::X86)));
    SetFileAttributesW(path.c_str(), attributes);
}

std::vector<std::wstring> Items(const CheckList& list) {
    std::vector<std::wstring> items;
    for (int i = 0; i < list.Count(); ++i) items.push_back(list.Text(i));
    return items;
}

struct Panel {
    MainForm form;
    explicit Panel(const TempFolder& folder) {
        MainForm::Options options;
        options.endsProgram = false;
        options.applicationDirectory = folder.Path();
        REQUIRE(form.Create(options));
        SetForegroundWindow(form.Window());
        DoEvents();
    }
    void PointAt(const std::wstring& folder) {
        form.Dir1.SetPath(folder);
        form.Dir1_Change();
    }
    std::wstring Caption() const { return form.TextOf(form.cmdVestrim); }
    bool ButtonEnabled() const { return IsWindowEnabled(form.cmdVestrim) != FALSE; }
    ManifestDetails Boxes() const {
        return {form.TextOf(form.txtCompanyName), form.TextOf(form.txtProductName),
                form.TextOf(form.txtApplicationName), form.TextOf(form.txtDescription)};
    }
    void Press() {
        SendMessageW(GetParent(form.cmdVestrim), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(form.cmdVestrim), BN_CLICKED),
                     reinterpret_cast<LPARAM>(form.cmdVestrim));
    }
};

std::wstring ManifestText(const std::wstring& path) { return DecodeManifestBytes(ReadBytes(path)); }

}  // namespace

TEST_CASE("A folder's executables are split by their manifests, hidden and system ones included") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"alpha.exe");
    AddProgram(folder, L"beta", L"beta.exe");
    AddProgram(folder, L"plain", L"Hidden.exe");
    AddProgram(folder, L"plain", L"zsystem.exe");
    AddProgram(folder, L"plain", L"readonly-manifest.exe");
    SetFileAttributesW((folder / L"Hidden.exe").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW((folder / L"zsystem.exe").c_str(), FILE_ATTRIBUTE_SYSTEM);
    AddManifest(folder, L"beta.exe", {L"B", L"Beta", L"beta.exe", L"D"});
    AddManifest(folder, L"readonly-manifest.exe", {}, FILE_ATTRIBUTE_READONLY);
    REQUIRE(xpv_test::WriteBytes(folder / L"notes.txt", "x"));

    Panel panel(folder);  // opens on its application directory
    CHECK(Items(panel.form.lstUnthemed) == std::vector<std::wstring>{L"alpha.exe", L"Hidden.exe", L"zsystem.exe"});
    CHECK(Items(panel.form.lstThemed) == std::vector<std::wstring>{L"beta.exe", L"readonly-manifest.exe"});
    // The first unthemed program is current and its version details fill the boxes.
    CHECK(panel.form.lstUnthemed.Current() == 0);
    CHECK(panel.Boxes() == ManifestDetails{L"Alpha Works", L"Alpha Editor", L"alpha.exe", L"Edits alpha files"});
    CHECK(panel.Caption() == kApply);
    CHECK(panel.ButtonEnabled());

    SUBCASE("a program without version resource shows only its name") {
        panel.form.lstUnthemed.SetCurrent(1);
        CHECK(panel.Boxes() == ManifestDetails{L"", L"", L"Hidden.exe", L""});
    }
    SUBCASE("a themed program shows the details read back from its manifest") {
        panel.form.lstThemed.SetCurrent(0);
        CHECK(panel.Boxes() == ManifestDetails{L"B", L"Beta", L"beta.exe", L"D"});
        SetFocus(panel.form.lstThemed.Handle());
        CHECK(panel.Caption() == kRemove);
        SetFocus(panel.form.lstUnthemed.Handle());
        CHECK(panel.Caption() == kApply);
    }
}

TEST_CASE("Folders without executables, or with only themed ones") {
    TempFolder empty;
    TempFolder themed;
    AddProgram(themed, L"alpha", L"one.exe");
    AddProgram(themed, L"beta", L"two.exe");
    AddManifest(themed, L"one.exe", {L"Co", L"Prod", L"one.exe", L"Desc"});
    AddManifest(themed, L"two.exe", {L"Co2", L"Prod2", L"two.exe", L"Desc2"});
    Panel panel(themed);

    // All themed: the first themed item is current, read back, and the button removes.
    CHECK(panel.form.lstUnthemed.Count() == 0);
    CHECK(panel.form.lstThemed.Current() == 0);
    CHECK(panel.Boxes() == ManifestDetails{L"Co", L"Prod", L"one.exe", L"Desc"});
    CHECK(panel.Caption() == kRemove);
    CHECK(panel.ButtonEnabled());

    // Empty: both lists and the boxes empty, the button disabled with its caption kept.
    panel.PointAt(empty.Path());
    CHECK(panel.form.lstUnthemed.Count() == 0);
    CHECK(panel.form.lstThemed.Count() == 0);
    CHECK(panel.Boxes() == ManifestDetails{});
    CHECK_FALSE(panel.ButtonEnabled());
    CHECK(panel.Caption() == kRemove);

    SUBCASE("the + and - of an empty themed list leave the boxes empty") {
        panel.form.cmdThemedSelAll_Click();
        CHECK(panel.Boxes() == ManifestDetails{});
    }
}

TEST_CASE("Applying writes each ticked program's manifest with its own details, the current one as edited") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"alpha.exe");
    AddProgram(folder, L"beta", L"beta.exe");
    AddProgram(folder, L"plain", L"plain.exe");
    Panel panel(folder);
    REQUIRE(panel.form.lstUnthemed.Count() == 3);

    SUBCASE("nothing ticked: nothing written, lists rebuilt") {
        panel.Press();
        CHECK(panel.form.lstUnthemed.Count() == 3);
        CHECK(panel.form.lstThemed.Count() == 0);
        CHECK_FALSE(IsManifestPresent(folder / L"alpha.exe.manifest"));
        CHECK(GetFocus() == panel.form.lstUnthemed.Handle());
        CHECK(panel.ButtonEnabled());
        CHECK(IsWindowEnabled(panel.form.OutlookBar));
    }

    SUBCASE("the current item keeps the user's edits; ticking its box does not reload them") {
        panel.form.SetText(panel.form.txtProductName, L"My & <own> \"name\"");
        panel.form.SetText(panel.form.txtDescription, L"edited");
        // A click on the current item's tick box ticks it without reloading the boxes.
        RECT item;
        SendMessageW(panel.form.lstUnthemed.Handle(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
        const LPARAM onBox = MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
        SendMessageW(panel.form.lstUnthemed.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, onBox);
        SendMessageW(panel.form.lstUnthemed.Handle(), WM_LBUTTONUP, 0, onBox);
        CHECK(panel.form.lstUnthemed.IsTicked(0));
        CHECK(panel.form.TextOf(panel.form.txtDescription) == L"edited");
        panel.form.lstUnthemed.SetTicked(1, true);
        panel.Press();

        const std::wstring alpha = ManifestText(folder / L"alpha.exe.manifest");
        CHECK(alpha.find(L"name = \"[Alpha Works].[My &amp; &lt;own&gt; &quot;name&quot;].[alpha.exe]\"") !=
              std::wstring::npos);
        CHECK(alpha.find(L"<description>edited</description>") != std::wstring::npos);
        const std::wstring beta = ManifestText(folder / L"beta.exe.manifest");
        CHECK(beta.find(L"name = \"[Beta &amp; Sons].[Beta &quot;Viewer&quot;].[beta.exe]\"") != std::wstring::npos);
        CHECK(beta.find(L"<description>Views &lt;beta&gt; files</description>") != std::wstring::npos);
        // (Wine reports the archive mark on every file.)
        CHECK((GetFileAttributesW((folder / L"beta.exe.manifest").c_str()) & ~FILE_ATTRIBUTE_ARCHIVE) ==
              (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));

        CHECK(Items(panel.form.lstUnthemed) == std::vector<std::wstring>{L"plain.exe"});
        CHECK(Items(panel.form.lstThemed) == std::vector<std::wstring>{L"alpha.exe", L"beta.exe"});
        // Read back through the panel, the escaped details come out as typed.
        panel.form.lstThemed.SetCurrent(0);
        CHECK(panel.Boxes() == ManifestDetails{L"Alpha Works", L"My & <own> \"name\"", L"alpha.exe", L"edited"});
    }
}

TEST_CASE("Removing takes the ticked manifests away, whatever their attributes") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"a.exe");
    AddProgram(folder, L"alpha", L"b.exe");
    AddProgram(folder, L"alpha", L"c.exe");
    AddManifest(folder, L"a.exe", {L"A", L"A", L"a.exe", L"A"}, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    AddManifest(folder, L"b.exe", {L"B", L"B", L"b.exe", L"B"});
    AddManifest(folder, L"c.exe", {L"C", L"C", L"c.exe", L"C"}, FILE_ATTRIBUTE_ARCHIVE);
    Panel panel(folder);
    REQUIRE(panel.Caption() == kRemove);
    panel.form.lstThemed.SetTicked(0, true);
    panel.form.lstThemed.SetTicked(2, true);
    panel.Press();
    CHECK_FALSE(IsManifestPresent(folder / L"a.exe.manifest"));
    CHECK(IsManifestPresent(folder / L"b.exe.manifest"));
    CHECK_FALSE(IsManifestPresent(folder / L"c.exe.manifest"));
    CHECK(Items(panel.form.lstUnthemed) == std::vector<std::wstring>{L"a.exe", L"c.exe"});
    CHECK(Items(panel.form.lstThemed) == std::vector<std::wstring>{L"b.exe"});
    CHECK(GetFocus() == panel.form.lstThemed.Handle());
    CHECK(panel.Caption() == kRemove);
}

TEST_CASE("A manifest that cannot be written or removed is skipped; the others are done") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"blocked.exe");
    AddProgram(folder, L"alpha", L"fine.exe");
    AddProgram(folder, L"alpha", L"held.exe");
    AddProgram(folder, L"alpha", L"other.exe");
    // A folder bearing the manifest's name: no manifest can be written there.
    REQUIRE(CreateDirectoryW((folder / L"blocked.exe.manifest").c_str(), nullptr));
    Panel panel(folder);
    REQUIRE(Items(panel.form.lstUnthemed) ==
            std::vector<std::wstring>{L"blocked.exe", L"fine.exe", L"held.exe", L"other.exe"});

    panel.form.lstUnthemed.SetTicked(0, true);
    panel.form.lstUnthemed.SetTicked(1, true);
    panel.Press();
    CHECK(Items(panel.form.lstUnthemed) == std::vector<std::wstring>{L"blocked.exe", L"held.exe", L"other.exe"});
    CHECK(Items(panel.form.lstThemed) == std::vector<std::wstring>{L"fine.exe"});
    CHECK(panel.ButtonEnabled());
    CHECK(IsWindowEnabled(panel.form.OutlookBar));
    CHECK(IsWindowEnabled(panel.form.Dir1.Handle()));
    CHECK(IsWindowEnabled(panel.form.Drive1.Handle()));
    // Only the manifest that was written is in the history.
    panel.form.LoadHistory();
    CHECK(panel.form.lstTempHistory == std::vector<std::wstring>{folder / L"fine.exe.manifest"});

    SUBCASE("a manifest held open without sharing stays, and the rest are removed") {
        AddManifest(folder, L"held.exe", {L"H", L"H", L"held.exe", L"H"});
        AddManifest(folder, L"other.exe", {L"O", L"O", L"other.exe", L"O"});
        // Opened without sharing, as a program that reads it would: it cannot be deleted.
        UniqueHandle held(CreateFileW((folder / L"held.exe.manifest").c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        REQUIRE(held);
        panel.PointAt(folder.Path());
        REQUIRE(Items(panel.form.lstThemed) == std::vector<std::wstring>{L"fine.exe", L"held.exe", L"other.exe"});
        SetFocus(panel.form.lstThemed.Handle());
        panel.form.cmdThemedSelAll_Click();
        REQUIRE(panel.Caption() == kRemove);
        panel.Press();
        CHECK(Items(panel.form.lstThemed) == std::vector<std::wstring>{L"held.exe"});
        CHECK(IsManifestPresent(folder / L"held.exe.manifest"));
        CHECK(panel.ButtonEnabled());
        CHECK(IsWindowEnabled(panel.form.OutlookBar));
    }
}

TEST_CASE("While the button's action runs, the folder and the action itself are out of reach") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"one.exe");
    AddProgram(folder, L"alpha", L"two.exe");
    Panel panel(folder);
    MainForm& form = panel.form;
    bool driveEnabled = true, dirEnabled = true, stripEnabled = true, buttonEnabled = true;
    std::wstring captionAfterFocus;

    form.cmdUnThemedSelAll_Click();
    xpv_test::InsideNextYield duringAction([&] {
        driveEnabled = IsWindowEnabled(form.Drive1.Handle()) != FALSE;
        dirEnabled = IsWindowEnabled(form.Dir1.Handle()) != FALSE;
        stripEnabled = IsWindowEnabled(form.OutlookBar) != FALSE;
        // The lists' focus handling must not arm the button inside the action.
        form.lstThemed_GotFocus();
        buttonEnabled = IsWindowEnabled(form.cmdVestrim) != FALSE;
        captionAfterFocus = form.TextOf(form.cmdVestrim);
    });
    panel.Press();

    REQUIRE(duringAction.Ran());
    CHECK_FALSE(driveEnabled);
    CHECK_FALSE(dirEnabled);
    CHECK_FALSE(stripEnabled);
    CHECK_FALSE(buttonEnabled);
    CHECK(captionAfterFocus == kApply);
    // Afterwards everything is live again and both programs are themed.
    CHECK(Items(form.lstThemed) == std::vector<std::wstring>{L"one.exe", L"two.exe"});
    CHECK(IsWindowEnabled(form.Drive1.Handle()));
    CHECK(IsWindowEnabled(form.Dir1.Handle()));
    CHECK(IsWindowEnabled(form.OutlookBar));
}

TEST_CASE("At a drive root the paths hold two backslashes, and theming works there") {
    // The test session maps a drive letter of its own to a folder.
    const std::wstring root = sizeof(void*) == 8 ? L"T:\\" : L"U:\\";
    REQUIRE(GetFileAttributesW(root.c_str()) != INVALID_FILE_ATTRIBUTES);
    for (const wchar_t* name : {L"rooted.exe", L"rooted.exe.manifest"}) xpv_test::RemoveTree(root + name);
    REQUIRE(xpv_test::CopyInto(kFixtures + L"\\alpha.exe", root + L"rooted.exe"));
    TempFolder appFolder;
    Panel panel(appFolder);

    panel.form.Drive1.SetDrive(root.substr(0, 2));
    panel.PointAt(root);
    CHECK(panel.form.File1.Path == root);
    REQUIRE(Items(panel.form.lstUnthemed) == std::vector<std::wstring>{L"rooted.exe"});
    panel.form.lstUnthemed.SetTicked(0, true);
    panel.Press();
    CHECK(Items(panel.form.lstThemed) == std::vector<std::wstring>{L"rooted.exe"});
    CHECK(IsManifestPresent(root + L"rooted.exe.manifest"));

    // The history keeps the path exactly as it was composed.
    panel.form.Qmenu_Click(4);
    REQUIRE(panel.form.lstTempHistory.size() == 1);
    CHECK(panel.form.lstTempHistory[0] == root + L"\\rooted.exe.manifest");
    for (const wchar_t* name : {L"rooted.exe", L"rooted.exe.manifest"}) xpv_test::RemoveTree(root + name);
}

TEST_CASE("Opening the Vestrim panel from the Quick Menu reads the folder again") {
    TempFolder folder;
    Panel panel(folder);
    REQUIRE(panel.form.lstUnthemed.Count() == 0);
    AddProgram(folder, L"alpha", L"late.exe");
    panel.form.Qmenu_Click(1);
    CHECK(panel.form.lstUnthemed.Count() == 0);  // Help refreshes nothing
    panel.form.Qmenu_Click(0);
    CHECK(Items(panel.form.lstUnthemed) == std::vector<std::wstring>{L"late.exe"});
}

TEST_CASE("A themed program whose manifest cannot be read shows empty details") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"one.exe");
    AddProgram(folder, L"alpha", L"two.exe");
    AddManifest(folder, L"one.exe", {L"C1", L"P1", L"one.exe", L"D1"});
    AddManifest(folder, L"two.exe", {L"C2", L"P2", L"two.exe", L"D2"});
    Panel panel(folder);
    REQUIRE(panel.Boxes() == ManifestDetails{L"C1", L"P1", L"one.exe", L"D1"});
    UniqueHandle held(CreateFileW((folder / L"two.exe.manifest").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    REQUIRE(held);
    panel.form.lstThemed.SetCurrent(1);
    CHECK(panel.Boxes() == ManifestDetails{});
}

TEST_CASE("The panel's controls: keyboard order, tooltips, captions") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"one.exe");
    Panel panel(folder);
    MainForm& form = panel.form;
    const HWND order[] = {form.cmdVestrim,        form.lstUnthemed.Handle(), form.lstThemed.Handle(),
                          form.Drive1.Handle(),   form.Dir1.Handle(),        form.txtCompanyName,
                          form.txtProductName,    form.txtApplicationName,   form.txtDescription,
                          form.cmdUnThemedSelAll, form.cmdUnThemedUnSelAll,  form.cmdThemedSelAll,
                          form.cmdThemedUnSelAll};
    for (size_t i = 0; i + 1 < std::size(order); ++i) {
        CAPTURE(i);
        CHECK(GetNextDlgTabItem(form.picVestrim, order[i], FALSE) == order[i + 1]);
    }
    CHECK(form.TooltipOf(form.cmdUnThemedSelAll) == L"Select All");
    CHECK(form.TooltipOf(form.cmdUnThemedUnSelAll) == L"Unselect All");
    CHECK(form.TooltipOf(form.cmdThemedSelAll) == L"Select All");
    CHECK(form.TooltipOf(form.cmdThemedUnSelAll) == L"Unselect All");
    CHECK(form.TextOf(form.lblUnthemed) == L"UnThemed Applications");
    CHECK(form.TextOf(form.lblThemed) == L"Themed Applications");
    CHECK(form.TextOf(form.Label2) == L"Application Name");
}

TEST_CASE("A character key in a list reloads the current item's details; the space bar only ticks") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"one.exe");
    Panel panel(folder);
    panel.form.SetText(panel.form.txtDescription, L"edited");
    SendMessageW(panel.form.lstUnthemed.Handle(), WM_CHAR, L' ', 0);
    CHECK(panel.form.lstUnthemed.IsTicked(0));
    CHECK(panel.form.TextOf(panel.form.txtDescription) == L"edited");
    SendMessageW(panel.form.lstUnthemed.Handle(), WM_CHAR, L'o', 0);
    CHECK(panel.form.TextOf(panel.form.txtDescription) == L"Edits alpha files");
}

TEST_CASE("Closing the window during an apply finishes the current program, then stops and closes") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"one.exe");
    AddProgram(folder, L"alpha", L"two.exe");
    AddProgram(folder, L"alpha", L"three.exe");
    auto panel = std::make_unique<Panel>(folder);
    HWND window = panel->form.Window();
    panel->form.cmdUnThemedSelAll_Click();
    // The close arrives while the first program is being handled.
    PostMessageW(window, WM_CLOSE, 0, 0);
    panel->Press();
    CHECK(IsManifestPresent(folder / L"one.exe.manifest"));
    CHECK_FALSE(IsManifestPresent(folder / L"three.exe.manifest"));
    DoEvents();
    CHECK_FALSE(IsWindow(window));
}

TEST_CASE("Every control of the panel stands at its rectangle") {
    TempFolder folder;
    Panel panel(folder);
    MainForm& form = panel.form;
    const TwipScale& scale = form.Scale();
    struct Place {
        const char* name;
        HWND control;
        int left, top, width, height;  // twips; height 0 where the control sets its own
    };
    const Place places[] = {
        {"Drive1", form.Drive1.Handle(), 120, 120, 2415, 0},
        {"Dir1", form.Dir1.Handle(), 120, 450, 2415, 2250},
        {"lblUnthemed", form.lblUnthemed, 2640, 120, 2295, 255},
        {"lstUnthemed", form.lstUnthemed.Handle(), 2640, 360, 2055, 1020},
        {"cmdUnThemedSelAll", form.cmdUnThemedSelAll, 4680, 360, 255, 495},
        {"cmdUnThemedUnSelAll", form.cmdUnThemedUnSelAll, 4680, 840, 255, 495},
        {"lblThemed", form.lblThemed, 2640, 1440, 2295, 255},
        {"lstThemed", form.lstThemed.Handle(), 2640, 1680, 2055, 1020},
        {"cmdThemedSelAll", form.cmdThemedSelAll, 4680, 1680, 255, 495},
        {"cmdThemedUnSelAll", form.cmdThemedUnSelAll, 4680, 2160, 255, 495},
        {"lblCompanyName", form.lblCompanyName, 120, 2760, 1935, 255},
        {"txtCompanyName", form.txtCompanyName, 1800, 2760, 3135, 315},
        {"lblProductName", form.lblProductName, 120, 3120, 1935, 255},
        {"txtProductName", form.txtProductName, 1800, 3120, 3135, 315},
        {"Label2", form.Label2, 120, 3480, 1935, 255},
        {"txtApplicationName", form.txtApplicationName, 1800, 3480, 3135, 315},
        {"Label3", form.Label3, 120, 3840, 1935, 255},
        {"txtDescription", form.txtDescription, 1800, 3840, 3135, 315},
        {"cmdVestrim", form.cmdVestrim, 120, 4200, 4815, 375},
    };
    for (const Place& place : places) {
        CAPTURE(place.name);
        REQUIRE(GetParent(place.control) == form.picVestrim);
        RECT rect;
        GetWindowRect(place.control, &rect);
        MapWindowPoints(nullptr, form.picVestrim, reinterpret_cast<POINT*>(&rect), 2);
        const RECT expected = scale.Rect(place.left, place.top, place.width, place.height);
        CHECK(rect.left == expected.left);
        CHECK(rect.top == expected.top);
        CHECK(rect.right == expected.right);
        if (place.height != 0) CHECK(rect.bottom == expected.bottom);
    }
}
