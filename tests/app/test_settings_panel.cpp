#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/Look.h"
#include "app/MainForm.h"
#include "app/MessagePump.h"
#include "platform/profile_test_files.h"
#include "platform/registry_test_root.h"
#include "settings/SettingsCatalogue.h"
#include "settings/doctest_ticks.h"
#include "settings/refusing_registry_keys.h"
#include "support/InsideYield.h"
#include "support/PanelViews.h"
#include "support/TempFolder.h"
#include "support/WindowGeometry.h"
#include "support/WindowInput.h"
#include "support/WindowTestOptions.h"

using namespace registry_test;
using xpv_test::TempFolder;
using Names = std::vector<std::wstring>;
using Ticks = std::vector<TweakTick>;

using xpv_test::RectIn;

namespace {

std::wstring ReplaceAll(std::wstring text, std::wstring_view from, std::wstring_view to) {
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// A small catalogue: "{key}" stands for the test's own registry key. Groups are not in
// alphabetical order, so that a sorted list would show.
const wchar_t kCatalogue[] = LR"(; tweaks for the panel's tests
[Explorer]
Show extensions=HKEY_CURRENT_USER,{key},HideExt,
xxxxxShow extensions True1=0
xxxxxShow extensions False1=1
xxxxxShow extensions Type1=Int
Hidden files=HKEY_CURRENT_USER , {key} , Hidden ,
xxxxxHidden files True1=1
xxxxxHidden files False1=2
xxxxxHidden files Type1=Int
xxxxxHidden files Entry2=TRUE
xxxxxHidden files2=HKEY_CURRENT_USER,{key}\Super,ShowSuperHidden,
xxxxxHidden files True2=1
xxxxxHidden files False2=0
Menu delay=HKEY_CURRENT_USER,{key},MenuShowDelay,
xxxxxMenu delay True1=100
xxxxxMenu delay False1=400
xxxxxMenu delay Type1=String
Read only=HKEY_CURRENT_USER,{key},ReadOnly,
xxxxxRead only True1=yes
xxxxxRead only False1=no
[Desktop]
Hide icons=HKEY_CURRENT_USER,{key},HideIcons,
xxxxxHide icons True1=1
xxxxxHide icons False1=0
xxxxxHide icons Type1=Int
Version text=HKEY_CURRENT_USER,{key},PaintVersion,
xxxxxVersion text True1=1
xxxxxVersion text False1=xxxxx
xxxxxVersion text Type1=String
[Empty group]
)";

const Names kGroups{L"Explorer", L"Desktop", L"Empty group"};

// The panel's controls by their ids, and its tweak list.
struct SettingsView : SettingsPanel::TestView {
    HWND Window() const { return panel.Window(); }
    HWND Control(int id) const { return GetDlgItem(panel.Window(), id); }
    HWND lstSettingsGroups() const { return Control(SettingsPanel::kLstSettingsGroups); }
    HWND cmdThemeCPLTheme() const { return Control(SettingsPanel::kCmdThemeCPLTheme); }
    HWND cmdSettingsRefresh() const { return Control(SettingsPanel::kCmdSettingsRefresh); }
    HWND cmdSettingsApply() const { return Control(SettingsPanel::kCmdSettingsApply); }
};

// The real window on an application folder of its own, with a registry key of its own for the
// tweaks; "Change Theme" records what it would start instead of starting it. A message to the
// user fails the test unless the test gives a list for them.
struct SettingsWindow {
    struct StartRequest {
        std::wstring program;
        std::wstring commandLine;
    };

    TempFolder appFolder{L"xpv-settings"};
    TestRoot root{L"settings-panel"};
    MainForm form;
    SettingsView panel{{MainForm::TestView{form}.Panel<SettingsPanel>()}};
    ControlFactory& controls = MainForm::TestView{form}.Controls();
    std::vector<StartRequest> starts;
    bool startSucceeds = true;

    explicit SettingsWindow(std::vector<std::wstring>* messages = nullptr)
        : form(xpv_test::WindowTestOptions(appFolder.Path(), messages)) {
        panel.panel.UseProgramStarter([this](const std::wstring& program, const std::wstring& commandLine) {
            starts.push_back({program, commandLine});
            return startSucceeds;
        });
        REQUIRE(form.Create());
    }

    // The catalogue as a user's editor saves it: ANSI, CR LF.
    void WriteCatalogue(const std::wstring& text) const {
        profile_test::WriteTestFile(panel.Catalogue(),
                                    profile_test::Ansi(ReplaceAll(ReplaceAll(text, L"\r\n", L"\n"), L"\n", L"\r\n")));
    }
    void WriteOwnCatalogue() const { WriteCatalogue(ReplaceAll(kCatalogue, L"{key}", root.Path())); }

    // The Quick Menu's Settings item, clicked.
    void Open() {
        xpv_test::OpenPanel<SettingsPanel>(form);
    }
    void Press(HWND button) {
        xpv_test::ClickButton(button);
    }
    // A click of the mouse on a group, as the list gets it from the user.
    void ClickGroup(int index) {
        RECT item{};
        REQUIRE(SendMessageW(panel.lstSettingsGroups(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) !=
                LB_ERR);
        const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        SendMessageW(panel.lstSettingsGroups(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(panel.lstSettingsGroups(), WM_LBUTTONUP, 0, at);
    }

    Names Groups() const {
        Names groups;
        const auto count = static_cast<int>(SendMessageW(panel.lstSettingsGroups(), LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring text(static_cast<size_t>(SendMessageW(panel.lstSettingsGroups(), LB_GETTEXTLEN, i, 0)), L'\0');
            SendMessageW(panel.lstSettingsGroups(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            groups.push_back(text);
        }
        return groups;
    }
    int CurrentGroup() const { return static_cast<int>(SendMessageW(panel.lstSettingsGroups(), LB_GETCURSEL, 0, 0)); }
    // The listed tweaks with their ticks.
    Ticks Listed() const {
        Ticks ticks;
        for (int i = 0; i < panel.lstSettings().Count(); ++i) {
            ticks.push_back({panel.lstSettings().Text(i), panel.lstSettings().IsTicked(i)});
        }
        return ticks;
    }
    void Tick(const std::vector<bool>& ticks) {
        REQUIRE(static_cast<int>(ticks.size()) == panel.lstSettings().Count());
        for (size_t i = 0; i < ticks.size(); ++i) panel.lstSettings().SetTicked(static_cast<int>(i), ticks[i]);
    }

    std::optional<StoredValue> Stored(const std::wstring& name, const std::wstring& below = L"") const {
        return ReadStoredValue(root.Handle(), below.empty() ? root.Path() : root / below, name);
    }
    void Put(const std::wstring& name, const StoredValue& value, const std::wstring& below = L"") const {
        PutStoredValue(root.Handle(), below.empty() ? root.Path() : root / below, name, value);
    }
};

Ticks ExplorerTicks(bool extensions, bool hidden, bool menuDelay, bool readOnly) {
    return {{L"Show extensions", extensions}, {L"Hidden files", hidden}, {L"Menu delay", menuDelay},
            {L"Read only", readOnly}};
}

}  // namespace

TEST_CASE("The Settings panel's controls: places, captions, font, colours and keyboard order") {
    SettingsWindow window;
    window.WriteOwnCatalogue();
    window.Open();
    const SettingsView& panel = window.panel;
    const TwipScale& scale = window.controls.Scale();
    REQUIRE(IsWindowVisible(panel.Window()));

    struct Expected {
        HWND control;
        int left, top, width, height;
        const wchar_t* caption;
    };
    const Expected controls[] = {
        {panel.lstSettingsGroups(), 120, 120, 1335, 3885, L""},
        {panel.lstSettings().Handle(), 1440, 120, 3495, 3885, L""},
        {panel.cmdThemeCPLTheme(), 120, 4080, 1575, 495, L"Change Theme"},
        {panel.cmdSettingsRefresh(), 1680, 4080, 1695, 495, L"Refresh Settings"},
        {panel.cmdSettingsApply(), 3360, 4080, 1575, 495, L"Apply Changes"},
    };
    const HFONT settingsFont = window.controls.Font(look::kSettingsFont);
    for (size_t i = 0; i < std::size(controls); ++i) {
        const Expected& expected = controls[i];
        CAPTURE(i);
        const RECT place = scale.Rect(expected.left, expected.top, expected.width, expected.height);
        const RECT actual = RectIn(expected.control, panel.Window());
        CHECK(EqualRect(&place, &actual));
        wchar_t caption[64] = {};
        GetWindowTextW(expected.control, caption, 64);
        CHECK(std::wstring(caption) == expected.caption);
        CHECK(reinterpret_cast<HFONT>(SendMessageW(expected.control, WM_GETFONT, 0, 0)) == settingsFont);
        CHECK(IsWindowVisible(expected.control));
        // Tab goes through them in the order of the table, and round again.
        CHECK(GetNextDlgTabItem(panel.Window(), expected.control, FALSE) ==
              controls[(i + 1) % std::size(controls)].control);
    }
    LOGFONTW font{};
    GetObjectW(settingsFont, sizeof(font), &font);
    CHECK(std::wstring(font.lfFaceName) == L"Arial");
    CHECK(font.lfWeight == FW_BOLD);
    CHECK(font.lfHeight == scale.FontHeight(9));

    SUBCASE("the group list: one choice at a time, in file order, light grey on dark grey") {
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(panel.lstSettingsGroups(), GWL_STYLE));
        CHECK((style & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) == 0);
        CHECK(window.Groups() == kGroups);
        const WindowDc dc(panel.lstSettingsGroups());
        const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
            panel.Window(), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc.get()),
            reinterpret_cast<LPARAM>(panel.lstSettingsGroups())));
        LOGBRUSH back{};
        REQUIRE(GetObjectW(brush, sizeof(back), &back) == sizeof(back));
        CHECK(back.lbColor == RGB(0x40, 0x40, 0x40));
        CHECK(GetTextColor(dc.get()) == RGB(0xE0, 0xE0, 0xE0));
    }
    SUBCASE("the tweak list: dark grey on light grey") {
        CHECK(panel.lstSettings().TextColour() == RGB(0x40, 0x40, 0x40));
        LOGBRUSH back{};
        REQUIRE(GetObjectW(panel.lstSettings().BackgroundBrush(), sizeof(back), &back) == sizeof(back));
        CHECK(back.lbColor == RGB(0xE0, 0xE0, 0xE0));
        // The item the list draws has those colours.
        const WindowDc dc(panel.lstSettings().Handle());
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_LISTBOX;
        item.itemID = 1;
        item.hwndItem = panel.lstSettings().Handle();
        item.hDC = dc.get();
        SendMessageW(panel.lstSettings().Handle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item.rcItem));
        SendMessageW(panel.Window(), WM_DRAWITEM, GetDlgCtrlID(panel.lstSettings().Handle()), reinterpret_cast<LPARAM>(&item));
        CHECK(GetTextColor(dc.get()) == RGB(0x40, 0x40, 0x40));
        CHECK(GetBkColor(dc.get()) == RGB(0xE0, 0xE0, 0xE0));
    }
}

TEST_CASE("Opening Settings lists the groups and the first group's tweaks ticked by the registry") {
    SettingsWindow window;
    window.WriteOwnCatalogue();
    window.Put(L"HideExt", NumberValue(0));                // on
    window.Put(L"Hidden", NumberValue(1));                 // first value on,
    window.Put(L"ShowSuperHidden", NumberValue(0), L"Super");  // second off: cleared
    window.Put(L"MenuShowDelay", StringValue(L"100"));     // on
    window.Put(L"ReadOnly", StringValue(L"YES"));          // on, letter case ignored
    window.Open();
    CHECK(IsWindowVisible(window.panel.Window()));
    CHECK(window.Groups() == kGroups);
    CHECK(window.CurrentGroup() == 0);
    CHECK(window.Listed() == ExplorerTicks(true, false, true, true));

    SUBCASE("both values on ticks a two-value tweak") {
        window.Put(L"ShowSuperHidden", NumberValue(1), L"Super");
        window.Press(window.panel.cmdSettingsRefresh());
        CHECK(window.Listed() == ExplorerTicks(true, true, true, true));
    }
}

TEST_CASE("Refresh Settings gives back the ticks the registry holds; a value that is neither keeps the user's") {
    SettingsWindow window;
    window.WriteOwnCatalogue();
    window.Put(L"HideExt", NumberValue(0));
    window.Put(L"Hidden", NumberValue(1));
    window.Put(L"ShowSuperHidden", NumberValue(1), L"Super");
    window.Put(L"MenuShowDelay", StringValue(L"250"));  // neither 100 nor 400
    window.Put(L"ReadOnly", StringValue(L"no"));
    window.Open();
    REQUIRE(window.Listed() == ExplorerTicks(true, true, false, false));

    for (const bool userTick : {true, false}) {
        CAPTURE(userTick);
        window.Tick({!userTick, !userTick, userTick, !userTick});
        // A tick by itself writes nothing.
        CHECK(window.Stored(L"MenuShowDelay") == StringValue(L"250"));
        CHECK(window.Stored(L"ReadOnly") == StringValue(L"no"));
        window.Press(window.panel.cmdSettingsRefresh());
        CHECK(window.Listed() == ExplorerTicks(true, true, userTick, false));
    }
    CHECK(window.Stored(L"HideExt") == NumberValue(0));
}

TEST_CASE("Apply Changes with every box cleared writes the off texts of the current group only") {
    std::vector<std::wstring> messages;
    SettingsWindow window(&messages);
    window.WriteOwnCatalogue();
    window.Open();
    window.panel.lstSettings().SetAllTicked(false);
    window.Press(window.panel.cmdSettingsApply());
    CHECK(window.Stored(L"HideExt") == NumberValue(1));
    CHECK(window.Stored(L"Hidden") == NumberValue(2));
    CHECK(window.Stored(L"ShowSuperHidden", L"Super") == NumberValue(0));
    CHECK(window.Stored(L"MenuShowDelay") == StringValue(L"400"));
    // Without a type a tweak is never written, and the user is told so.
    CHECK_FALSE(window.Stored(L"ReadOnly").has_value());
    REQUIRE(messages.size() == 1);
    CHECK(messages[0].starts_with(L"This tweak was not set as its box shows:\r\n\r\n\"Read only\" was not turned off."));
    CHECK(messages[0].find(L"The other 3 tweaks were set.") != std::wstring::npos);
    messages.clear();
    // Nothing of the other group.
    CHECK_FALSE(window.Stored(L"HideIcons").has_value());
    CHECK_FALSE(window.Stored(L"PaintVersion").has_value());
    // The ticks are not refreshed by applying.
    CHECK(window.Listed() == ExplorerTicks(false, false, false, false));

    SUBCASE("ticked, the on texts; refreshing then shows what was applied") {
        window.panel.lstSettings().SetAllTicked(true);
        window.Press(window.panel.cmdSettingsApply());
        CHECK(window.Stored(L"HideExt") == NumberValue(0));
        CHECK(window.Stored(L"Hidden") == NumberValue(1));
        CHECK(window.Stored(L"ShowSuperHidden", L"Super") == NumberValue(1));
        CHECK(window.Stored(L"MenuShowDelay") == StringValue(L"100"));
        REQUIRE(messages.size() == 1);
        CHECK(messages[0].find(L"\"Read only\" was not turned on.") != std::wstring::npos);
        window.panel.lstSettings().SetAllTicked(false);
        window.Press(window.panel.cmdSettingsRefresh());
        // The tweak without a type reads as missing, which is neither yes nor no.
        CHECK(window.Listed() == ExplorerTicks(true, true, true, false));
    }
    SUBCASE("the other group, applied cleared, leaves this one as it is") {
        window.Put(L"HideExt", NumberValue(7));
        window.ClickGroup(1);
        REQUIRE(window.CurrentGroup() == 1);
        window.panel.lstSettings().SetAllTicked(false);
        window.Press(window.panel.cmdSettingsApply());
        CHECK(window.Stored(L"HideIcons") == NumberValue(0));
        // "xxxxx" is written as it stands.
        CHECK(window.Stored(L"PaintVersion") == StringValue(L"xxxxx"));
        CHECK(window.Stored(L"HideExt") == NumberValue(7));
        // Every tweak of the group was written: nothing to tell.
        CHECK(messages.empty());
    }
}

// A key nobody may write stands for HKEY_LOCAL_MACHINE to a standard user.
TEST_CASE("Apply Changes tells once which tweaks were not set and why; the ticks stay as the user set them") {
    std::vector<std::wstring> messages;
    SettingsWindow window(&messages);
    const ReadOnlyKey locked(window.root.Handle(), window.root / L"Locked");
    window.WriteCatalogue(ReplaceAll(LR"([Rights]
Machine wide=HKEY_CURRENT_USER,{key}\Locked,Wide,
xxxxxMachine wide True1=1
xxxxxMachine wide False1=xxxxx
xxxxxMachine wide Type1=Int
Free=HKEY_CURRENT_USER,{key},Free,
xxxxxFree True1=yes
xxxxxFree False1=no
xxxxxFree Type1=String
Half=HKEY_CURRENT_USER,{key},Half,
xxxxxHalf True1=1
xxxxxHalf False1=0
xxxxxHalf Type1=Int
xxxxxHalf Entry2=true
xxxxxHalf2=HKEY_CURRENT_USER,{key}\Locked,Half,
xxxxxHalf True2=1
xxxxxHalf False2=0
)",
                                     L"{key}", window.root.Path()));
    window.Open();
    REQUIRE(window.Listed() == Ticks{{L"Machine wide", false}, {L"Free", false}, {L"Half", false}});
    window.panel.lstSettings().SetAllTicked(true);
    window.Press(window.panel.cmdSettingsApply());

    REQUIRE(messages.size() == 1);
    const std::wstring& message = messages[0];
    CAPTURE(message);
    const std::wstring lockedPlace = L"HKEY_CURRENT_USER\\" + window.root.Path() + L"\\Locked\\";
    const std::wstring said[] = {
        L"These 2 tweaks were not set as their boxes show:",
        L"\"Machine wide\" was not turned on. The registry refused to write " + lockedPlace + L"Wide (error 5",
        L"\"Half\" was turned on only in part. The registry refused to write " + lockedPlace + L"Half (error 5",
        L"run XP Vestrim as administrator.",
        L"The other tweak was set.",
        L"Refresh Settings shows what the registry holds now.",
    };
    size_t at = 0;
    for (const std::wstring& part : said) {
        CAPTURE(part);
        at = message.find(part, at);
        CHECK(at != std::wstring::npos);
        if (at == std::wstring::npos) break;
    }
    CHECK(window.Stored(L"Free") == StringValue(L"yes"));
    CHECK(window.Stored(L"Half") == NumberValue(1));
    CHECK_FALSE(window.Stored(L"Wide", L"Locked").has_value());
    CHECK_FALSE(window.Stored(L"Half", L"Locked").has_value());
    // Not refreshed by applying; Refresh Settings shows what the registry holds.
    CHECK(window.Listed() == Ticks{{L"Machine wide", true}, {L"Free", true}, {L"Half", true}});
    window.Press(window.panel.cmdSettingsRefresh());
    CHECK(window.Listed() == Ticks{{L"Machine wide", false}, {L"Free", true}, {L"Half", false}});
    CHECK(messages.size() == 1);

}

TEST_CASE("A click on another group lists and refreshes that group; unapplied ticks are lost") {
    SettingsWindow window;
    window.WriteOwnCatalogue();
    window.Put(L"HideIcons", NumberValue(1));
    window.Open();
    window.panel.lstSettings().SetTicked(0, true);  // not applied

    window.ClickGroup(1);
    CHECK(window.CurrentGroup() == 1);
    // The missing value reads as "xxxxx", the off text of "Version text".
    CHECK(window.Listed() == Ticks{{L"Hide icons", true}, {L"Version text", false}});

    window.ClickGroup(0);
    CHECK(window.Listed() == ExplorerTicks(false, false, false, false));

    SUBCASE("the arrow key chooses the next group as a click does") {
        window.Put(L"PaintVersion", StringValue(L"1"));
        SendMessageW(window.panel.lstSettingsGroups(), WM_KEYDOWN, VK_DOWN, 0);
        CHECK(window.CurrentGroup() == 1);
        CHECK(window.Listed() == Ticks{{L"Hide icons", true}, {L"Version text", true}});
    }
    SUBCASE("a group without tweaks: an empty list, and the buttons write nothing") {
        window.ClickGroup(2);
        CHECK(window.Listed().empty());
        window.Press(window.panel.cmdSettingsRefresh());
        window.Press(window.panel.cmdSettingsApply());
        CHECK(window.Listed().empty());
        CHECK(window.Stored(L"HideIcons") == NumberValue(1));
        CHECK_FALSE(window.Stored(L"HideExt").has_value());
    }
}

TEST_CASE("Opening Settings from the Quick Menu refills the groups and lists the first group again, every time") {
    SettingsWindow window;
    window.WriteOwnCatalogue();
    window.Open();
    window.ClickGroup(1);
    window.panel.lstSettings().SetAllTicked(true);  // not applied

    for (int opening = 0; opening < 2; ++opening) {
        CAPTURE(opening);
        // What the list shows inside the yield, and a change of the registry made there: the group
        // is listed before the yield and listed again after it.
        Ticks listedInsideYield;
        window.Put(L"HideExt", NumberValue(1));
        xpv_test::InsideNextYield meanwhile([&] {
            listedInsideYield = window.Listed();
            window.Put(L"HideExt", NumberValue(0));
        });
        window.Open();
        REQUIRE(meanwhile.Ran());
        CHECK(listedInsideYield == ExplorerTicks(false, false, false, false));
        CHECK(window.CurrentGroup() == 0);
        CHECK(window.Listed() == ExplorerTicks(true, false, false, false));
    }

    SUBCASE("a changed catalogue shows at the next opening") {
        window.WriteCatalogue(ReplaceAll(L"[Fonts]\nSmooth=HKEY_CURRENT_USER,{key},Smooth,\n", L"{key}",
                                         window.root.Path()) +
                              ReplaceAll(kCatalogue, L"{key}", window.root.Path()));
        window.Open();
        CHECK(window.Groups() == Names{L"Fonts", L"Explorer", L"Desktop", L"Empty group"});
        CHECK(window.Listed() == Ticks{{L"Smooth", false}});
    }
}

TEST_CASE("A missing catalogue leaves the group list as it was; an empty one empties both lists") {
    SettingsWindow window;
    window.Open();
    CHECK(window.Groups().empty());
    CHECK(window.Listed().empty());

    window.WriteOwnCatalogue();
    window.Open();
    window.ClickGroup(1);
    REQUIRE(window.Groups() == kGroups);

    REQUIRE(DeleteFileW(window.panel.Catalogue().c_str()));
    window.Open();
    CHECK(window.Groups() == kGroups);
    CHECK(window.CurrentGroup() == 1);
    // The group's tweaks are read from the catalogue, which is gone.
    CHECK(window.Listed().empty());

    window.WriteCatalogue(L"; no groups yet\n");
    window.Open();
    CHECK(window.Groups().empty());
    CHECK(window.Listed().empty());
}

TEST_CASE("With an empty catalogue the buttons do nothing visible, except Change Theme") {
    SettingsWindow window;
    window.WriteCatalogue(L"");
    window.Open();
    REQUIRE(window.Groups().empty());
    window.Press(window.panel.cmdSettingsRefresh());
    window.Press(window.panel.cmdSettingsApply());
    CHECK(window.Groups().empty());
    CHECK(window.Listed().empty());
    CHECK_FALSE(KeyExists(window.root.Handle(), window.root.Path()));
    CHECK(window.starts.empty());

    // The display properties, from the system folder by their full path.
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    REQUIRE(length > 0);
    const std::wstring rundll32 = std::wstring(system, length) + L"\\rundll32.exe";
    for (const bool starts : {true, false}) {
        CAPTURE(starts);
        window.starts.clear();
        window.startSucceeds = starts;
        window.Press(window.panel.cmdThemeCPLTheme());
        REQUIRE(window.starts.size() == 1);
        CHECK(window.starts[0].program == rundll32);
        CHECK(window.starts[0].commandLine == L"\"" + rundll32 + L"\" shell32.dll,Control_RunDLL desk.cpl,,5");
        // Whether or not it started, the window goes on as it was.
        CHECK(IsWindow(window.form.Window()));
        CHECK(IsWindowVisible(window.panel.Window()));
        CHECK(IsWindowEnabled(window.panel.cmdThemeCPLTheme()));
    }
}

TEST_CASE("Closing the window while Settings opens waits until the group is listed, then closes") {
    SettingsWindow window;
    window.WriteOwnCatalogue();
    window.Put(L"HideExt", NumberValue(1));
    const HWND form = window.form.Window();
    bool openInsideYield = false;
    xpv_test::InsideNextYield closeMeanwhile([&] {
        SendMessageW(form, WM_CLOSE, 0, 0);
        openInsideYield = IsWindow(form) != FALSE;
        // Shows whether the group is listed again after the yield.
        window.Put(L"HideExt", NumberValue(0));
    });
    window.Open();
    REQUIRE(closeMeanwhile.Ran());
    CHECK(openInsideYield);
    CHECK(IsWindow(form));
    CHECK(window.form.CloseRequested());
    CHECK(window.Listed() == ExplorerTicks(true, false, false, false));
    // The close that waited.
    DoEvents();
    CHECK_FALSE(IsWindow(form));
}

// The shipped catalogue, its registry places moved below the test's own key so that nothing of
// the machine's settings changes: every group, name, text and type as shipped.
TEST_CASE("The shipped catalogue: its groups, each tweak's state, applied and refreshed") {
    SettingsWindow window;
    const std::string shipped = xpv_test::ReadBytes(XPV_SHIPPED_CATALOGUE);
    REQUIRE_FALSE(shipped.empty());
    const std::wstring text(shipped.begin(), shipped.end());  // ASCII
    window.WriteCatalogue(
        ReplaceAll(ReplaceAll(text, L"=HKEY_CURRENT_USER,", L"=HKEY_CURRENT_USER," + window.root / L"HKCU\\"),
                   L"=HKEY_LOCAL_MACHINE,", L"=HKEY_CURRENT_USER," + window.root / L"HKLM\\"));
    const std::wstring catalogue = window.panel.Catalogue();

    // The groups as the file's section lines name them.
    Names sections;
    for (size_t start = 0, end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
        const std::wstring line = text.substr(start, end - start);
        if (line.starts_with(L"[")) sections.push_back(line.substr(1, line.size() - 2));
    }
    REQUIRE(sections.size() > 1);
    for (const std::wstring& group : sections) {
        for (const std::wstring& name : ListGroupTweaks(catalogue, group)) {
            const Tweak tweak = ReadTweak(catalogue, group, name);
            CAPTURE(name);
            REQUIRE(tweak.first.location.path.starts_with(window.root.Path() + L"\\"));
            if (tweak.second) REQUIRE(tweak.second->location.path.starts_with(window.root.Path() + L"\\"));
        }
    }

    // The first group's tweaks, every other one on and the rest off in the registry.
    const std::vector<std::wstring> names = ListGroupTweaks(catalogue, sections[0]);
    REQUIRE(names.size() > 1);
    const auto stored = [](std::optional<TweakType> type, const std::wstring& text) {
        return type == TweakType::Int ? NumberValue(static_cast<DWORD>(std::stol(text))) : StringValue(text);
    };
    const auto place = [&](const TweakValue& value, std::optional<TweakType> type, bool on) {
        PutStoredValue(window.root.Handle(), value.location.path, value.location.valueName,
                       stored(type, on ? value.onText : value.offText));
    };
    const auto storedAs = [&](const TweakValue& value, std::optional<TweakType> type, bool on) {
        return ReadStoredValue(window.root.Handle(), value.location.path, value.location.valueName) ==
               stored(type, on ? value.onText : value.offText);
    };
    Ticks state;
    for (size_t i = 0; i < names.size(); ++i) {
        const Tweak tweak = ReadTweak(catalogue, sections[0], names[i]);
        const bool on = i % 2 == 0;
        place(tweak.first, tweak.writtenAs, on);
        if (tweak.second) place(*tweak.second, tweak.writtenAs, on);
        state.push_back({names[i], on});
    }

    window.Open();
    CHECK(window.Groups() == sections);
    CHECK(window.Listed() == state);

    // The user turns every tweak the other way and applies.
    for (TweakTick& tick : state) tick.ticked = !tick.ticked;
    for (int i = 0; i < window.panel.lstSettings().Count(); ++i) {
        window.panel.lstSettings().SetTicked(i, !window.panel.lstSettings().IsTicked(i));
    }
    window.Press(window.panel.cmdSettingsApply());
    for (const TweakTick& tick : state) {
        const Tweak tweak = ReadTweak(catalogue, sections[0], tick.name);
        CAPTURE(tick.name);
        CHECK(storedAs(tweak.first, tweak.writtenAs, tick.ticked));
        if (tweak.second) CHECK(storedAs(*tweak.second, tweak.writtenAs, tick.ticked));
    }
    window.Press(window.panel.cmdSettingsRefresh());
    CHECK(window.Listed() == state);
    window.Open();
    CHECK(window.Listed() == state);
    // Nothing of the other groups was written.
    for (size_t group = 1; group < sections.size(); ++group) {
        for (const std::wstring& name : ListGroupTweaks(catalogue, sections[group])) {
            const Tweak tweak = ReadTweak(catalogue, sections[group], name);
            CAPTURE(name);
            for (const TweakValue* value : {&tweak.first, tweak.second ? &*tweak.second : nullptr}) {
                if (!value) continue;
                CHECK_FALSE(ReadStoredValue(window.root.Handle(), value->location.path, value->location.valueName)
                                .has_value());
            }
        }
    }
}
