#include <windows.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/WindowText.h"
#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFile.h"
#include "app/MessagePump.h"
#include "platform/UniqueHandle.h"
#include "support/InsideYield.h"
#include "support/PanelViews.h"
#include "support/TempFolder.h"
#include "support/WindowGeometry.h"
#include "support/WindowInput.h"
#include "support/WindowTestOptions.h"
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

struct VestrimWindow {
    std::vector<std::wstring> messages;
    MainForm form;
    VestrimPanel& vestrim;
    ControlFactory& controls;

    explicit VestrimWindow(const TempFolder& folder)
        : form(xpv_test::WindowTestOptions(folder.Path(), &messages)),
          vestrim(MainForm::TestView{form}.Panel<VestrimPanel>()),
          controls(MainForm::TestView{form}.Controls()) {
        REQUIRE(form.Create());
        SetForegroundWindow(form.Window());
        DoEvents();
    }
    void PointAt(const std::wstring& folder) { vestrim.OpenFolder(folder); }
    HWND Control(int id) const { return GetDlgItem(vestrim.Window(), id); }
    void Click(int id) const { xpv_test::ClickButton(Control(id)); }
    CheckList& Unthemed() const { return VestrimPanel::TestView{vestrim}.lstUnthemed(); }
    CheckList& Themed() const { return VestrimPanel::TestView{vestrim}.lstThemed(); }
    DriveList& Drive1() const { return VestrimPanel::TestView{vestrim}.Drive1(); }
    DirectoryList& Dir1() const { return VestrimPanel::TestView{vestrim}.Dir1(); }
    const std::wstring& FilePath() const { return VestrimPanel::TestView{vestrim}.FilePath(); }
    std::wstring Caption() const { return TextOf(Control(VestrimPanel::kCmdVestrim)); }
    bool ButtonEnabled() const { return IsWindowEnabled(Control(VestrimPanel::kCmdVestrim)) != FALSE; }
    ManifestDetails Boxes() const {
        return {TextOf(Control(VestrimPanel::kTxtCompanyName)), TextOf(Control(VestrimPanel::kTxtProductName)),
                TextOf(Control(VestrimPanel::kTxtApplicationName)), TextOf(Control(VestrimPanel::kTxtDescription))};
    }
    void Press() { Click(VestrimPanel::kCmdVestrim); }
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

    VestrimWindow panel(folder);  // opens on its application directory
    CHECK(Items(panel.Unthemed()) == std::vector<std::wstring>{L"alpha.exe", L"Hidden.exe", L"zsystem.exe"});
    CHECK(Items(panel.Themed()) == std::vector<std::wstring>{L"beta.exe", L"readonly-manifest.exe"});
    // The first unthemed program is current and its version details fill the boxes.
    CHECK(panel.Unthemed().Current() == 0);
    CHECK(panel.Boxes() == ManifestDetails{L"Alpha Works", L"Alpha Editor", L"alpha.exe", L"Edits alpha files"});
    CHECK(panel.Caption() == kApply);
    CHECK(panel.ButtonEnabled());

    SUBCASE("a program without version resource shows only its name") {
        panel.Unthemed().SetCurrent(1);
        CHECK(panel.Boxes() == ManifestDetails{L"", L"", L"Hidden.exe", L""});
    }
    SUBCASE("a themed program shows the details read back from its manifest") {
        panel.Themed().SetCurrent(0);
        CHECK(panel.Boxes() == ManifestDetails{L"B", L"Beta", L"beta.exe", L"D"});
        SetFocus(panel.Themed().Handle());
        CHECK(panel.Caption() == kRemove);
        SetFocus(panel.Unthemed().Handle());
        CHECK(panel.Caption() == kApply);
    }
}

TEST_CASE("A manifest counts under any letter case of its name, and only beside its own executable") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"Upper.EXE");
    AddProgram(folder, L"plain", L"\u00C9mile.exe");
    AddProgram(folder, L"plain", L"near.exe");
    for (const wchar_t* manifest : {L"uPPER.exe.MANIFEST", L"\u00E9MILE.EXE.manifest", L"near.exe.manifest.old",
                                    L"orphan.exe.manifest"}) {
        REQUIRE(xpv_test::WriteBytes(folder / manifest, "x"));
    }
    VestrimWindow panel(folder);
    CHECK(Items(panel.Unthemed()) == std::vector<std::wstring>{L"near.exe"});
    CHECK(Items(panel.Themed()) == std::vector<std::wstring>{L"\u00C9mile.exe", L"Upper.EXE"});
}

TEST_CASE("Folders without executables, or with only themed ones") {
    TempFolder empty;
    TempFolder themed;
    AddProgram(themed, L"alpha", L"one.exe");
    AddProgram(themed, L"beta", L"two.exe");
    AddManifest(themed, L"one.exe", {L"Co", L"Prod", L"one.exe", L"Desc"});
    AddManifest(themed, L"two.exe", {L"Co2", L"Prod2", L"two.exe", L"Desc2"});
    VestrimWindow panel(themed);

    // All themed: the first themed item is current, read back, and the button removes.
    CHECK(panel.Unthemed().Count() == 0);
    CHECK(panel.Themed().Current() == 0);
    CHECK(panel.Boxes() == ManifestDetails{L"Co", L"Prod", L"one.exe", L"Desc"});
    CHECK(panel.Caption() == kRemove);
    CHECK(panel.ButtonEnabled());

    // Empty: both lists and the boxes empty, the button disabled with its caption kept.
    panel.PointAt(empty.Path());
    CHECK(panel.Unthemed().Count() == 0);
    CHECK(panel.Themed().Count() == 0);
    CHECK(panel.Boxes() == ManifestDetails{});
    CHECK_FALSE(panel.ButtonEnabled());
    CHECK(panel.Caption() == kRemove);

    SUBCASE("the + and - of an empty themed list leave the boxes empty") {
        panel.Click(VestrimPanel::kCmdThemedSelAll);
        CHECK(panel.Boxes() == ManifestDetails{});
    }
}

TEST_CASE("Applying writes each ticked program's manifest with its own details, the current one as edited") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"alpha.exe");
    AddProgram(folder, L"beta", L"beta.exe");
    AddProgram(folder, L"plain", L"plain.exe");
    VestrimWindow panel(folder);
    REQUIRE(panel.Unthemed().Count() == 3);

    SUBCASE("nothing ticked: nothing written, lists rebuilt") {
        panel.Press();
        CHECK(panel.Unthemed().Count() == 3);
        CHECK(panel.Themed().Count() == 0);
        CHECK_FALSE(IsManifestPresent(folder / L"alpha.exe.manifest"));
        CHECK(GetFocus() == panel.Unthemed().Handle());
        CHECK(panel.ButtonEnabled());
        CHECK(IsWindowEnabled(panel.form.QuickMenuStrip()));
    }

    SUBCASE("the current item keeps the user's edits; ticking its box does not reload them") {
        SetText(panel.Control(VestrimPanel::kTxtProductName), L"My & <own> \"name\"");
        SetText(panel.Control(VestrimPanel::kTxtDescription), L"edited");
        // A click on the current item's tick box ticks it without reloading the boxes.
        RECT item;
        SendMessageW(panel.Unthemed().Handle(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
        const LPARAM onBox = MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
        SendMessageW(panel.Unthemed().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, onBox);
        SendMessageW(panel.Unthemed().Handle(), WM_LBUTTONUP, 0, onBox);
        CHECK(panel.Unthemed().IsTicked(0));
        CHECK(TextOf(panel.Control(VestrimPanel::kTxtDescription)) == L"edited");
        panel.Unthemed().SetTicked(1, true);
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

        CHECK(Items(panel.Unthemed()) == std::vector<std::wstring>{L"plain.exe"});
        CHECK(Items(panel.Themed()) == std::vector<std::wstring>{L"alpha.exe", L"beta.exe"});
        // Read back through the panel, the escaped details come out as typed.
        panel.Themed().SetCurrent(0);
        CHECK(panel.Boxes() == ManifestDetails{L"Alpha Works", L"My & <own> \"name\"", L"alpha.exe", L"edited"});
    }
    SUBCASE("the current item keeps its edits when a ticked item above it is handled first") {
        panel.Unthemed().SetCurrent(1);
        SetText(panel.Control(VestrimPanel::kTxtDescription), L"edited beta");
        panel.Unthemed().SetTicked(0, true);
        panel.Unthemed().SetTicked(1, true);
        panel.Press();
        CHECK(ManifestText(folder / L"alpha.exe.manifest").find(L"<description>Edits alpha files</description>") !=
              std::wstring::npos);
        const std::wstring beta = ManifestText(folder / L"beta.exe.manifest");
        CHECK(beta.find(L"name = \"[Beta &amp; Sons].[Beta &quot;Viewer&quot;].[beta.exe]\"") != std::wstring::npos);
        CHECK(beta.find(L"<description>edited beta</description>") != std::wstring::npos);
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
    VestrimWindow panel(folder);
    REQUIRE(panel.Caption() == kRemove);
    panel.Themed().SetTicked(0, true);
    panel.Themed().SetTicked(2, true);
    panel.Press();
    CHECK_FALSE(IsManifestPresent(folder / L"a.exe.manifest"));
    CHECK(IsManifestPresent(folder / L"b.exe.manifest"));
    CHECK_FALSE(IsManifestPresent(folder / L"c.exe.manifest"));
    CHECK(Items(panel.Unthemed()) == std::vector<std::wstring>{L"a.exe", L"c.exe"});
    CHECK(Items(panel.Themed()) == std::vector<std::wstring>{L"b.exe"});
    CHECK(GetFocus() == panel.Themed().Handle());
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
    VestrimWindow panel(folder);
    REQUIRE(Items(panel.Unthemed()) ==
            std::vector<std::wstring>{L"blocked.exe", L"fine.exe", L"held.exe", L"other.exe"});

    panel.Unthemed().SetTicked(0, true);
    panel.Unthemed().SetTicked(1, true);
    panel.Press();
    CHECK(Items(panel.Unthemed()) == std::vector<std::wstring>{L"blocked.exe", L"held.exe", L"other.exe"});
    CHECK(Items(panel.Themed()) == std::vector<std::wstring>{L"fine.exe"});
    CHECK(panel.ButtonEnabled());
    CHECK(IsWindowEnabled(panel.form.QuickMenuStrip()));
    CHECK(IsWindowEnabled(panel.Dir1().Handle()));
    CHECK(IsWindowEnabled(panel.Drive1().Handle()));
    // Only the manifest that was written is in the history.
    CHECK(HistoryPanel::TestView{xpv_test::OpenPanel<HistoryPanel>(panel.form)}.ManifestPaths() ==
          std::vector<std::wstring>{folder / L"fine.exe.manifest"});
    xpv_test::OpenPanel<VestrimPanel>(panel.form);
    // The user is told once, at the end, which program failed and why.
    REQUIRE(panel.messages.size() == 1);
    CHECK(panel.messages[0] == L"This program could not be themed:\r\n\r\n" + (folder / L"blocked.exe") +
                                   L" - a folder or other item of the manifest's name is in the way\r\n\r\n"
                                   L"Everything else was done.");

    SUBCASE("a manifest held open without sharing stays, and the rest are removed") {
        AddManifest(folder, L"held.exe", {L"H", L"H", L"held.exe", L"H"});
        AddManifest(folder, L"other.exe", {L"O", L"O", L"other.exe", L"O"});
        // Opened without sharing, as a program that reads it would: it cannot be deleted.
        UniqueHandle held(CreateFileW((folder / L"held.exe.manifest").c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        REQUIRE(held);
        panel.PointAt(folder.Path());
        REQUIRE(Items(panel.Themed()) == std::vector<std::wstring>{L"fine.exe", L"held.exe", L"other.exe"});
        SetFocus(panel.Themed().Handle());
        panel.Click(VestrimPanel::kCmdThemedSelAll);
        REQUIRE(panel.Caption() == kRemove);
        panel.Press();
        CHECK(Items(panel.Themed()) == std::vector<std::wstring>{L"held.exe"});
        CHECK(IsManifestPresent(folder / L"held.exe.manifest"));
        CHECK(panel.ButtonEnabled());
        CHECK(IsWindowEnabled(panel.form.QuickMenuStrip()));
        REQUIRE(panel.messages.size() == 2);
        CHECK(panel.messages[1].starts_with(L"The theme of this program could not be removed:\r\n\r\n" +
                                            (folder / L"held.exe") + L" - in use by another program\r\n"));
    }
}

TEST_CASE("A manifest written where the history cannot record it is reported once") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"one.exe");
    AddProgram(folder, L"beta", L"two.exe");
    // A folder where the history file should be: nothing can be recorded.
    REQUIRE(CreateDirectoryW((folder / L"history.db").c_str(), nullptr));
    VestrimWindow panel(folder);
    panel.Click(VestrimPanel::kCmdUnThemedSelAll);
    panel.Press();
    CHECK(IsManifestPresent(folder / L"one.exe.manifest"));
    CHECK(IsManifestPresent(folder / L"two.exe.manifest"));
    REQUIRE(panel.messages.size() == 1);
    CHECK(panel.messages[0].find(L"could not be themed") == std::wstring::npos);
    CHECK(panel.messages[0].find(L"The history file could not record") != std::wstring::npos);
}

TEST_CASE("An action in which nothing failed says nothing") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"one.exe");
    VestrimWindow panel(folder);
    panel.Click(VestrimPanel::kCmdUnThemedSelAll);
    panel.Press();
    panel.Click(VestrimPanel::kCmdThemedSelAll);
    panel.Press();
    CHECK(panel.Unthemed().Count() == 1);
    CHECK(panel.messages.empty());
}

TEST_CASE("While the button's action runs, the folder and the action itself are out of reach") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"one.exe");
    AddProgram(folder, L"alpha", L"two.exe");
    VestrimWindow panel(folder);
    bool driveEnabled = true, dirEnabled = true, stripEnabled = true, buttonEnabled = true;
    std::wstring captionAfterFocus;

    panel.Click(VestrimPanel::kCmdUnThemedSelAll);
    xpv_test::InsideNextYield duringAction([&] {
        driveEnabled = IsWindowEnabled(panel.Drive1().Handle()) != FALSE;
        dirEnabled = IsWindowEnabled(panel.Dir1().Handle()) != FALSE;
        stripEnabled = IsWindowEnabled(panel.form.QuickMenuStrip()) != FALSE;
        // The lists' focus handling must not arm the button inside the action.
        SetFocus(panel.Themed().Handle());
        buttonEnabled = IsWindowEnabled(panel.Control(VestrimPanel::kCmdVestrim)) != FALSE;
        captionAfterFocus = TextOf(panel.Control(VestrimPanel::kCmdVestrim));
    });
    panel.Press();

    REQUIRE(duringAction.Ran());
    CHECK_FALSE(driveEnabled);
    CHECK_FALSE(dirEnabled);
    CHECK_FALSE(stripEnabled);
    CHECK_FALSE(buttonEnabled);
    CHECK(captionAfterFocus == kApply);
    // Afterwards everything is live again and both programs are themed.
    CHECK(Items(panel.Themed()) == std::vector<std::wstring>{L"one.exe", L"two.exe"});
    CHECK(IsWindowEnabled(panel.Drive1().Handle()));
    CHECK(IsWindowEnabled(panel.Dir1().Handle()));
    CHECK(IsWindowEnabled(panel.form.QuickMenuStrip()));
}

TEST_CASE("Inside an apply the shortcuts change no panel, and the apply does the programs ticked when it began") {
    TempFolder folder;
    for (const wchar_t* name : {L"a.exe", L"b.exe", L"c.exe", L"d.exe"}) AddProgram(folder, L"alpha", name);
    VestrimWindow panel(folder);
    REQUIRE(Items(panel.Unthemed()) == std::vector<std::wstring>{L"a.exe", L"b.exe", L"c.exe", L"d.exe"});
    for (int line : {0, 1, 2}) panel.Unthemed().SetTicked(line, true);
    const auto visiblePanels = [&panel] {
        std::vector<size_t> visible;
        for (size_t index = 0; index < kPanelCount; ++index) {
            if (IsWindowVisible(MainForm::TestView{panel.form}.PanelAt(index).Window())) visible.push_back(index);
        }
        return visible;
    };
    const std::vector<size_t> vestrimOnly{PanelIndex<VestrimPanel>()};
    const struct {
        const char* name;
        WPARAM key;
        bool control;
        bool shift;
    } shortcuts[] = {{"Ctrl+Tab", VK_TAB, true, false}, {"F1", VK_F1, false, false}, {"Ctrl+Shift+Tab", VK_TAB, true, true}};
    std::vector<std::vector<size_t>> shownAfter;

    xpv_test::InsideNextYield duringAction([&] {
        for (const auto& shortcut : shortcuts) {
            xpv_test::TypeWithModifiers(panel.Unthemed().Handle(), shortcut.key, shortcut.control, shortcut.shift);
            shownAfter.push_back(visiblePanels());
        }
        // The list changes under the running loop, in the first program's turn: its own line and
        // c's go, d is ticked.
        panel.Unthemed().RemoveAt(2);
        panel.Unthemed().RemoveAt(0);
        panel.Unthemed().SetTicked(1, true);
    });
    panel.Press();

    REQUIRE(duringAction.Ran());
    for (size_t i = 0; i < std::size(shortcuts); ++i) {
        CAPTURE(shortcuts[i].name);
        CHECK(shownAfter[i] == vestrimOnly);
    }
    CHECK(visiblePanels() == vestrimOnly);
    CHECK(Items(panel.Themed()) == std::vector<std::wstring>{L"b.exe"});
    CHECK(Items(panel.Unthemed()) == std::vector<std::wstring>{L"a.exe", L"c.exe", L"d.exe"});
    CHECK(panel.messages.empty());
    // Afterwards the shortcuts work again.
    xpv_test::TypeWithModifiers(panel.Unthemed().Handle(), VK_F1, false, false);
    CHECK(visiblePanels() == std::vector<size_t>{PanelIndex<HelpPanel>()});
}

TEST_CASE("An action that empties its list ends with the button enabled in that list's mode") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"one.exe");
    AddProgram(folder, L"beta", L"two.exe");
    VestrimWindow panel(folder);

    panel.Click(VestrimPanel::kCmdUnThemedSelAll);
    REQUIRE(panel.Caption() == kApply);
    panel.Press();
    REQUIRE(Items(panel.Themed()) == std::vector<std::wstring>{L"one.exe", L"two.exe"});
    CHECK(panel.Unthemed().Count() == 0);
    CHECK(panel.ButtonEnabled());
    CHECK(panel.Caption() == kApply);

    panel.Click(VestrimPanel::kCmdThemedSelAll);
    REQUIRE(panel.Caption() == kRemove);
    panel.Press();
    REQUIRE(Items(panel.Unthemed()) == std::vector<std::wstring>{L"one.exe", L"two.exe"});
    CHECK(panel.Themed().Count() == 0);
    CHECK(panel.ButtonEnabled());
    CHECK(panel.Caption() == kRemove);
}

TEST_CASE("An action gives every control it disabled back the state it had") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"one.exe");
    VestrimWindow panel(folder);
    // Something else had switched the folder list off before the action.
    EnableWindow(panel.Dir1().Handle(), FALSE);
    panel.Click(VestrimPanel::kCmdUnThemedSelAll);
    panel.Press();
    REQUIRE(IsManifestPresent(folder / L"one.exe.manifest"));
    CHECK_FALSE(IsWindowEnabled(panel.Dir1().Handle()));
    CHECK(IsWindowEnabled(panel.Drive1().Handle()));
    CHECK(IsWindowEnabled(panel.form.QuickMenuStrip()));
}

TEST_CASE("At a drive root the paths hold two backslashes, and theming works there") {
    // The test session maps a drive letter of its own to a folder.
    const std::wstring root = sizeof(void*) == 8 ? L"T:\\" : L"U:\\";
    REQUIRE(GetFileAttributesW(root.c_str()) != INVALID_FILE_ATTRIBUTES);
    for (const wchar_t* name : {L"rooted.exe", L"rooted.exe.manifest"}) xpv_test::RemoveTree(root + name);
    REQUIRE(xpv_test::CopyInto(kFixtures + L"\\alpha.exe", root + L"rooted.exe"));
    TempFolder appFolder;
    VestrimWindow panel(appFolder);

    panel.Drive1().SetDrive(root.substr(0, 2));
    panel.PointAt(root);
    CHECK(panel.FilePath() == root);
    REQUIRE(Items(panel.Unthemed()) == std::vector<std::wstring>{L"rooted.exe"});
    panel.Unthemed().SetTicked(0, true);
    panel.Press();
    CHECK(Items(panel.Themed()) == std::vector<std::wstring>{L"rooted.exe"});
    CHECK(IsManifestPresent(root + L"rooted.exe.manifest"));

    // The history keeps the path exactly as it was composed.
    const HistoryPanel::TestView history{xpv_test::OpenPanel<HistoryPanel>(panel.form)};
    REQUIRE(history.ManifestPaths().size() == 1);
    CHECK(history.ManifestPaths()[0] == root + L"\\rooted.exe.manifest");
    for (const wchar_t* name : {L"rooted.exe", L"rooted.exe.manifest"}) xpv_test::RemoveTree(root + name);
}

TEST_CASE("Opening the Vestrim panel from the Quick Menu reads the folder again") {
    TempFolder folder;
    VestrimWindow panel(folder);
    REQUIRE(panel.Unthemed().Count() == 0);
    AddProgram(folder, L"alpha", L"late.exe");
    xpv_test::OpenPanel<HelpPanel>(panel.form);
    CHECK(panel.Unthemed().Count() == 0);  // Help refreshes nothing
    xpv_test::OpenPanel<VestrimPanel>(panel.form);
    CHECK(Items(panel.Unthemed()) == std::vector<std::wstring>{L"late.exe"});
}

TEST_CASE("A themed program whose manifest cannot be read shows empty details") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"one.exe");
    AddProgram(folder, L"alpha", L"two.exe");
    AddManifest(folder, L"one.exe", {L"C1", L"P1", L"one.exe", L"D1"});
    AddManifest(folder, L"two.exe", {L"C2", L"P2", L"two.exe", L"D2"});
    VestrimWindow panel(folder);
    REQUIRE(panel.Boxes() == ManifestDetails{L"C1", L"P1", L"one.exe", L"D1"});
    UniqueHandle held(CreateFileW((folder / L"two.exe.manifest").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    REQUIRE(held);
    panel.Themed().SetCurrent(1);
    CHECK(panel.Boxes() == ManifestDetails{});
}

TEST_CASE("The panel's controls: keyboard order, tooltips, captions") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"one.exe");
    VestrimWindow panel(folder);
    const HWND order[] = {panel.Control(VestrimPanel::kCmdVestrim),        panel.Unthemed().Handle(), panel.Themed().Handle(),
                          panel.Drive1().Handle(),   panel.Dir1().Handle(),        panel.Control(VestrimPanel::kTxtCompanyName),
                          panel.Control(VestrimPanel::kTxtProductName),    panel.Control(VestrimPanel::kTxtApplicationName),   panel.Control(VestrimPanel::kTxtDescription),
                          panel.Control(VestrimPanel::kCmdUnThemedSelAll), panel.Control(VestrimPanel::kCmdUnThemedUnSelAll),  panel.Control(VestrimPanel::kCmdThemedSelAll),
                          panel.Control(VestrimPanel::kCmdThemedUnSelAll)};
    for (size_t i = 0; i + 1 < std::size(order); ++i) {
        CAPTURE(i);
        CHECK(GetNextDlgTabItem(panel.vestrim.Window(), order[i], FALSE) == order[i + 1]);
    }
    CHECK(panel.controls.TooltipOf(panel.Control(VestrimPanel::kCmdUnThemedSelAll)) == L"Select All");
    CHECK(panel.controls.TooltipOf(panel.Control(VestrimPanel::kCmdUnThemedUnSelAll)) == L"Unselect All");
    CHECK(panel.controls.TooltipOf(panel.Control(VestrimPanel::kCmdThemedSelAll)) == L"Select All");
    CHECK(panel.controls.TooltipOf(panel.Control(VestrimPanel::kCmdThemedUnSelAll)) == L"Unselect All");
    CHECK(TextOf(panel.Control(VestrimPanel::kLblUnthemed)) == L"UnThemed Applications");
    CHECK(TextOf(panel.Control(VestrimPanel::kLblThemed)) == L"Themed Applications");
    CHECK(TextOf(panel.Control(VestrimPanel::kLabel2)) == L"Application Name");
}

TEST_CASE("A character key in a list reloads the current item's details; the space bar only ticks") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"one.exe");
    VestrimWindow panel(folder);
    SetText(panel.Control(VestrimPanel::kTxtDescription), L"edited");
    SendMessageW(panel.Unthemed().Handle(), WM_CHAR, L' ', 0);
    CHECK(panel.Unthemed().IsTicked(0));
    CHECK(TextOf(panel.Control(VestrimPanel::kTxtDescription)) == L"edited");
    SendMessageW(panel.Unthemed().Handle(), WM_CHAR, L'o', 0);
    CHECK(TextOf(panel.Control(VestrimPanel::kTxtDescription)) == L"Edits alpha files");
}

TEST_CASE("Closing the window during an apply finishes the current program, then stops and closes") {
    TempFolder folder;
    AddProgram(folder, L"alpha", L"one.exe");
    AddProgram(folder, L"alpha", L"two.exe");
    AddProgram(folder, L"alpha", L"three.exe");
    auto panel = std::make_unique<VestrimWindow>(folder);
    HWND window = panel->form.Window();
    panel->Click(VestrimPanel::kCmdUnThemedSelAll);
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
    VestrimWindow panel(folder);
    const TwipScale& scale = panel.controls.Scale();
    struct Place {
        const char* name;
        HWND control;
        int left, top, width, height;  // twips; height 0 where the control sets its own
    };
    const Place places[] = {
        {"Drive1", panel.Drive1().Handle(), 120, 120, 2415, 0},
        {"Dir1", panel.Dir1().Handle(), 120, 450, 2415, 2250},
        {"lblUnthemed", panel.Control(VestrimPanel::kLblUnthemed), 2640, 120, 2295, 255},
        {"lstUnthemed", panel.Unthemed().Handle(), 2640, 360, 2055, 1020},
        {"cmdUnThemedSelAll", panel.Control(VestrimPanel::kCmdUnThemedSelAll), 4680, 360, 255, 495},
        {"cmdUnThemedUnSelAll", panel.Control(VestrimPanel::kCmdUnThemedUnSelAll), 4680, 840, 255, 495},
        {"lblThemed", panel.Control(VestrimPanel::kLblThemed), 2640, 1440, 2295, 255},
        {"lstThemed", panel.Themed().Handle(), 2640, 1680, 2055, 1020},
        {"cmdThemedSelAll", panel.Control(VestrimPanel::kCmdThemedSelAll), 4680, 1680, 255, 495},
        {"cmdThemedUnSelAll", panel.Control(VestrimPanel::kCmdThemedUnSelAll), 4680, 2160, 255, 495},
        {"lblCompanyName", panel.Control(VestrimPanel::kLblCompanyName), 120, 2760, 1935, 255},
        {"txtCompanyName", panel.Control(VestrimPanel::kTxtCompanyName), 1800, 2760, 3135, 315},
        {"lblProductName", panel.Control(VestrimPanel::kLblProductName), 120, 3120, 1935, 255},
        {"txtProductName", panel.Control(VestrimPanel::kTxtProductName), 1800, 3120, 3135, 315},
        {"Label2", panel.Control(VestrimPanel::kLabel2), 120, 3480, 1935, 255},
        {"txtApplicationName", panel.Control(VestrimPanel::kTxtApplicationName), 1800, 3480, 3135, 315},
        {"Label3", panel.Control(VestrimPanel::kLabel3), 120, 3840, 1935, 255},
        {"txtDescription", panel.Control(VestrimPanel::kTxtDescription), 1800, 3840, 3135, 315},
        {"cmdVestrim", panel.Control(VestrimPanel::kCmdVestrim), 120, 4200, 4815, 375},
    };
    for (const Place& place : places) {
        CAPTURE(place.name);
        REQUIRE(GetParent(place.control) == panel.vestrim.Window());
        const RECT rect = xpv_test::RectIn(place.control, panel.vestrim.Window());
        const RECT expected = scale.Rect(place.left, place.top, place.width, place.height);
        CHECK(rect.left == expected.left);
        CHECK(rect.top == expected.top);
        CHECK(rect.right == expected.right);
        if (place.height != 0) CHECK(rect.bottom == expected.bottom);
    }
}
