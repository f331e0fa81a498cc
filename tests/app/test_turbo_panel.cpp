#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/Look.h"
#include "app/MainForm.h"
#include "app/WindowText.h"
#include "history/HistoryLines.h"
#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFile.h"
#include "manifest/ManifestForExecutable.h"
#include "platform/IniEditor.h"
#include "app/MessagePump.h"
#include "platform/UniqueHandle.h"
#include "support/FixturePath.h"
#include "support/InsideYield.h"
#include "support/PanelViews.h"
#include "support/TempFolder.h"
#include "support/WindowGeometry.h"
#include "support/WindowInput.h"
#include "support/WindowTestOptions.h"
#include "support/doctest_profile.h"

using xpv_test::DeepFolder;
using xpv_test::TempFolder;

namespace {

const std::wstring kFixtures = xpv_test::FixturePath(XPV_VESTRIM_FIXTURES);
const std::wstring kAlpha = L"Alpha Editor >> Edits alpha files (";

const std::wstring kThemedHeading = L"Searching for Themed Files....\r\n\r\n";
const std::wstring kUnthemedHeading = L"Searching for Unthemed Files....\r\n\r\n";

// A copy of a fixture program ("alpha", "beta": with version details, "plain": without).
std::wstring AddProgram(const std::wstring& path, const wchar_t* fixture) {
    REQUIRE(xpv_test::CopyInto(kFixtures + L"\\" + fixture + L".exe", path));
    return path;
}

std::wstring FileLabelText(int scanned, int themed, int unthemed, const std::wstring& line) {
    return L"Scanned Files = " + std::to_wstring(scanned) + L"\r\n         Themed Files   = " +
           std::to_wstring(themed) + L"\r\n         Unthemed Files = " + std::to_wstring(unthemed) + L"\r\n\r\n" +
           line + L"\r\n";
}

// Runs an action each time the list's item count is set, as every result added and every line
// removed does; what the action posts, the next yield runs, as it would a user's click.
class OnListCount {
public:
    OnListCount(HWND list, std::function<void(size_t count)> action) : list_(list), action_(std::move(action)) {
        SetWindowSubclass(list_, Proc, kId, reinterpret_cast<DWORD_PTR>(this));
    }
    ~OnListCount() { RemoveWindowSubclass(list_, Proc, kId); }
    OnListCount(const OnListCount&) = delete;
    OnListCount& operator=(const OnListCount&) = delete;

private:
    static constexpr UINT_PTR kId = 0x7E57;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR data) {
        if (message == LB_SETCOUNT) reinterpret_cast<OnListCount*>(data)->action_(wParam);
        return DefSubclassProc(window, message, wParam, lParam);
    }
    HWND list_;
    std::function<void(size_t)> action_;
};

// A click as the user makes it: queued, and run by the next yield.
void PostClick(HWND button) {
    PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

// At the first tick of a short timer at which the condition holds, runs the action once. The
// ticks come in the yields of a running search, as a user's click would; the search goes on
// meanwhile, so a test that needs the action at a point of the search gives it many files to walk.
class WhenTimerFinds {
public:
    WhenTimerFinds(std::function<bool()> condition, std::function<void()> action)
        : condition_(std::move(condition)), action_(std::move(action)) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        RegisterClassW(&windowClass);
        window_ = CreateWindowW(kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetTimer(window_, 1, 1, nullptr);
    }
    ~WhenTimerFinds() { DestroyWindow(window_); }
    WhenTimerFinds(const WhenTimerFinds&) = delete;
    WhenTimerFinds& operator=(const WhenTimerFinds&) = delete;
    bool Ran() const { return ran_; }

private:
    static constexpr wchar_t kClassName[] = L"XpvTestWhenTimerFinds";
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<WhenTimerFinds*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_TIMER && self && !self->ran_ && self->condition_()) {
            KillTimer(window, 1);
            self->ran_ = true;
            self->action_();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    std::function<bool()> condition_;
    std::function<void()> action_;
    HWND window_ = nullptr;
    bool ran_ = false;
};

// Many programs without version details in a folder, so that a search takes a while there.
void AddManyPrograms(const TempFolder& folder, const std::wstring& relative, int count) {
    for (int i = 0; i < count; ++i) folder.AddFile(relative + L"\\p" + std::to_wstring(10000 + i) + L".exe");
}

// The serial a result line ends with.
size_t SerialOf(const std::wstring& line) { return std::stoul(line.substr(line.size() - 6, 5)); }

// The panel's controls by their ids, and its lists and state.
struct TurboView : TurboPanel::TestView {
    HWND Window() const { return panel.Window(); }
    HWND Control(int id) const { return GetDlgItem(panel.Window(), id); }
    HWND chkTurbo() const { return Control(TurboPanel::kChkTurbo); }
    HWND lblTurbo() const { return Control(TurboPanel::kLblTurbo); }
    HWND lblTurboSearchFor(int index) const { return Control(TurboPanel::kLblTurboSearchForFirst + index); }
    HWND optTurboSearchFor(int index) const { return Control(TurboPanel::kOptTurboSearchForFirst + index); }
    HWND cmdTurboSearch() const { return Control(TurboPanel::kCmdTurboSearch); }
    HWND cmdNewSearch() const { return Control(TurboPanel::kCmdNewSearch); }
    HWND cmdStopSearch() const { return Control(TurboPanel::kCmdStopSearch); }
    HWND Line1() const { return Control(TurboPanel::kLine1); }
    HWND lblTurboScanning(int index) const { return Control(TurboPanel::kLblTurboScanningFirst + index); }
    HWND cmdScannedResults() const { return Control(TurboPanel::kCmdScannedResults); }
    HWND cmdTurboSelAll() const { return Control(TurboPanel::kCmdTurboSelAll); }
    HWND cmdTurboUnselAll() const { return Control(TurboPanel::kCmdTurboUnselAll); }
    HWND cmdTurboApply() const { return Control(TurboPanel::kCmdTurboApply); }
};

struct TurboWindow {
    TempFolder appFolder{L"xpv-app"};
    std::vector<std::wstring> messages;
    MainForm form{xpv_test::WindowTestOptions(appFolder.Path(), &messages)};
    ControlFactory& controls = MainForm::TestView{form}.Controls();
    TurboView panel{{MainForm::TestView{form}.Panel<TurboPanel>()}};

    TurboWindow() {
        REQUIRE(form.Create());
        xpv_test::OpenPanel<TurboPanel>(form);
    }
    // New Search, the start folder, the mode and the tick of "Scan Subdirectories", then Go.
    void Search(const std::wstring& start, SearchMode mode, bool subfolders = true) {
        xpv_test::ClickButton(panel.cmdNewSearch());
        REQUIRE(panel.dirTurbo().SetPath(start));
        xpv_test::ClickButton(panel.lblTurboSearchFor(mode == SearchMode::Themed ? 1 : 2));
        SendMessageW(panel.chkTurbo(), BM_SETCHECK, subfolders ? BST_CHECKED : BST_UNCHECKED, 0);
        Go();
    }
    void Go() { xpv_test::ClickButton(panel.cmdTurboSearch()); }
    void ShowResults() { xpv_test::ClickButton(panel.cmdScannedResults()); }
    void Apply() { xpv_test::ClickButton(panel.cmdTurboApply()); }

    std::vector<std::wstring> Lines() const {
        std::vector<std::wstring> lines;
        for (int i = 0; i < panel.lstTurbo().Count(); ++i) lines.push_back(panel.lstTurbo().Text(i));
        return lines;
    }
    int IndexOf(const std::wstring& path) const {
        for (int i = 0; i < panel.lstTurbo().Count(); ++i) {
            if (panel.lstTurbo().Value(i) == path) return i;
        }
        return -1;
    }
    void Tick(const std::vector<std::wstring>& paths) {
        for (const std::wstring& path : paths) {
            const int line = IndexOf(path);
            REQUIRE(line >= 0);
            panel.lstTurbo().SetTicked(line, true);
        }
    }
    std::wstring FolderLabel() const { return TextOf(panel.lblTurboScanning(1)); }
    std::wstring FileLabel() const { return TextOf(panel.lblTurboScanning(0)); }
    std::vector<ProfileEntry> History() { return ReadSectionEntries({MainForm::TestView{form}.History().File(), L"Main"}); }
};

// What the panel shows of its state: the controls visible besides the lists, the check box and
// the line, and which of the four set-up controls take input.
struct PanelState {
    std::set<std::string> visible;
    std::set<std::string> enabled;
    bool operator==(const PanelState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const PanelState& state) {
    out << "visible:";
    for (const std::string& name : state.visible) out << " " << name;
    out << "; enabled:";
    for (const std::string& name : state.enabled) out << " " << name;
    return out;
}

PanelState StateOf(const TurboView& panel) {
    const std::pair<const char*, HWND> shown[] = {
        {"lblTurboSearchFor(0)", panel.lblTurboSearchFor(0)}, {"lblTurboSearchFor(1)", panel.lblTurboSearchFor(1)},
        {"lblTurboSearchFor(2)", panel.lblTurboSearchFor(2)}, {"optTurboSearchFor(0)", panel.optTurboSearchFor(0)},
        {"optTurboSearchFor(1)", panel.optTurboSearchFor(1)}, {"Go", panel.cmdTurboSearch()},
        {"New Search", panel.cmdNewSearch()},                   {"STOP", panel.cmdStopSearch()},
        {"lstTurbo", panel.lstTurbo().Handle()},                {"lblTurboScanning(1)", panel.lblTurboScanning(1)},
        {"lblTurboScanning(0)", panel.lblTurboScanning(0)},   {"Show Results", panel.cmdScannedResults()},
        {"+", panel.cmdTurboSelAll()},                          {"-", panel.cmdTurboUnselAll()},
        {"apply", panel.cmdTurboApply()},
    };
    const std::pair<const char*, HWND> inputs[] = {
        {"drvTurbo", panel.drvTurbo().Handle()},
        {"dirTurbo", panel.dirTurbo().Handle()},
        {"chkTurbo", panel.chkTurbo()},
        {"lblTurbo", panel.lblTurbo()},
    };
    PanelState state;
    for (const auto& [name, control] : shown) {
        if (IsWindowVisible(control)) state.visible.insert(name);
    }
    for (const auto& [name, control] : inputs) {
        if (IsWindowEnabled(control)) state.enabled.insert(name);
    }
    if (IsWindowVisible(panel.cmdScannedResults()) && IsWindowEnabled(panel.cmdScannedResults())) {
        state.enabled.insert("Show Results");
    }
    for (HWND always : {panel.drvTurbo().Handle(), panel.dirTurbo().Handle(), panel.chkTurbo(), panel.lblTurbo(), panel.Line1()}) {
        CHECK(IsWindowVisible(always));
    }
    return state;
}

const std::set<std::string> kLabels{"lblTurboSearchFor(0)", "lblTurboSearchFor(1)", "lblTurboSearchFor(2)"};
const std::set<std::string> kFourInputs{"drvTurbo", "dirTurbo", "chkTurbo", "lblTurbo"};

std::set<std::string> Joined(std::set<std::string> a, const std::set<std::string>& b) {
    a.insert(b.begin(), b.end());
    return a;
}

bool IsChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The text colour the panel gives a control.
COLORREF TextColourOf(const TurboView& panel, HWND control) {
    const WindowDc dc(control);
    SendMessageW(panel.Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                 reinterpret_cast<LPARAM>(control));
    return GetTextColor(dc.get());
}

// Pixels a label's text takes at the label's width.
int TextHeightOf(HWND label) {
    const WindowDc dc(label);
    const SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT client;
    GetClientRect(label, &client);
    const std::wstring text = TextOf(label);
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &client,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    return client.bottom - client.top;
}

}  // namespace

TEST_CASE("Every control of the panel stands at its rectangle with its text, font and colours") {
    TurboWindow window;
    const TurboView& panel = window.panel;
    const TwipScale& scale = window.controls.Scale();
    const FontDescription bold825 = look::kPanelFont;
    const FontDescription bold975{L"Arial", 9.75, true, false};
    const FontDescription bold12{L"Arial", 12, true, false};
    struct Expected {
        const char* name;
        HWND control;
        int left, top, width, height;  // twips; height 0 where the control sets its own
        const wchar_t* text;
        const FontDescription* font;
    };
    const Expected controls[] = {
        {"drvTurbo", panel.drvTurbo().Handle(), 120, 100, 2415, 0, nullptr, &bold825},
        {"dirTurbo", panel.dirTurbo().Handle(), 120, 450, 2415, 1050, nullptr, &bold825},
        {"chkTurbo", panel.chkTurbo(), 2760, 160, 215, 215, L"", nullptr},
        {"lblTurbo", panel.lblTurbo(), 3120, 160, 1815, 255, L"Scan Subdirectories", &bold825},
        {"lblTurboSearchFor(0)", panel.lblTurboSearchFor(0), 2760, 600, 2055, 255, L"Search for", &bold825},
        {"optTurboSearchFor(0)", panel.optTurboSearchFor(0), 2760, 840, 215, 215, L"", nullptr},
        {"lblTurboSearchFor(1)", panel.lblTurboSearchFor(1), 3000, 840, 1575, 255, L"Themed apps", &bold825},
        {"optTurboSearchFor(1)", panel.optTurboSearchFor(1), 2760, 1080, 215, 215, L"", nullptr},
        {"lblTurboSearchFor(2)", panel.lblTurboSearchFor(2), 3000, 1080, 1575, 255, L"UnThemed apps", &bold825},
        {"cmdTurboSearch", panel.cmdTurboSearch(), 4440, 600, 495, 735, L"Go", &bold825},
        {"cmdNewSearch", panel.cmdNewSearch(), 2760, 600, 2175, 735, L"New Search", &bold975},
        {"cmdStopSearch", panel.cmdStopSearch(), 2760, 600, 2175, 735, L"STOP", &bold12},
        {"Line1", panel.Line1(), 120, 1560, 4800, 15, nullptr, nullptr},
        {"lstTurbo", panel.lstTurbo().Handle(), 120, 1560, 4815, 2700, nullptr, &bold825},
        {"lblTurboScanning(1)", panel.lblTurboScanning(1), 120, 1680, 4815, 735, L"", &bold975},
        {"lblTurboScanning(0)", panel.lblTurboScanning(0), 120, 2400, 4815, 1815, L"", &bold975},
        {"cmdScannedResults", panel.cmdScannedResults(), 120, 4250, 4815, 375, L"Show Results", &bold825},
        {"cmdTurboSelAll", panel.cmdTurboSelAll(), 120, 4250, 495, 375, L"+", &look::kSignFont},
        {"cmdTurboUnselAll", panel.cmdTurboUnselAll(), 600, 4250, 495, 375, L"-", &look::kSignFont},
        {"cmdTurboApply", panel.cmdTurboApply(), 1080, 4250, 3855, 375, L"", &bold825},
    };
    for (const Expected& expected : controls) {
        CAPTURE(expected.name);
        REQUIRE(GetParent(expected.control) == panel.Window());
        const RECT rect = xpv_test::RectIn(expected.control, panel.Window());
        const RECT place = scale.Rect(expected.left, expected.top, expected.width, expected.height);
        CHECK(rect.left == place.left);
        CHECK(rect.top == place.top);
        CHECK(rect.right == place.right);
        if (expected.height != 0) CHECK(rect.bottom == place.bottom);
        if (expected.text) CHECK(TextOf(expected.control) == expected.text);
        if (expected.font) {
            CHECK(reinterpret_cast<HFONT>(SendMessageW(expected.control, WM_GETFONT, 0, 0)) ==
                  window.controls.Font(*expected.font));
        }
    }

    // Light grey on dark grey: the lists; dark grey: the progress labels; the line (80, 80, 80).
    for (COLORREF colour : {panel.drvTurbo().TextColour(), panel.dirTurbo().TextColour(), panel.lstTurbo().TextColour()}) {
        CHECK(colour == look::kLightGrey);
    }
    for (HBRUSH brush : {panel.drvTurbo().BackgroundBrush(), panel.dirTurbo().BackgroundBrush(),
                         panel.lstTurbo().BackgroundBrush()}) {
        LOGBRUSH back{};
        REQUIRE(GetObjectW(brush, sizeof(back), &back) == sizeof(back));
        CHECK(back.lbColor == look::kDarkGrey);
    }
    for (HWND label : {panel.lblTurboScanning(0), panel.lblTurboScanning(1)}) CHECK(TextColourOf(panel, label) == look::kDarkGrey);
    {
        const WindowDc dc(panel.Line1());
        const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
            panel.Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(panel.Line1())));
        LOGBRUSH line{};
        REQUIRE(GetObjectW(brush, sizeof(line), &line) == sizeof(line));
        CHECK(line.lbColor == look::kStripGrey);
    }

    CHECK(window.controls.TooltipOf(panel.cmdTurboSelAll()) == L"Select All");
    CHECK(window.controls.TooltipOf(panel.cmdTurboUnselAll()) == L"Deselect All");
    CHECK((GetWindowLongPtrW(panel.chkTurbo(), GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX);
    for (HWND option : {panel.optTurboSearchFor(0), panel.optTurboSearchFor(1)}) {
        CHECK((GetWindowLongPtrW(option, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON);
    }
    CHECK(panel.lstTurbo().Count() == 0);
}

TEST_CASE("The panel moves through its six states as its buttons are pressed") {
    TurboWindow window;
    const TurboView& panel = window.panel;
    TempFolder programs;
    AddProgram(programs / L"a.exe", L"alpha");

    // Initial: "Themed apps" chosen, its circle hidden; the labels and New Search shown.
    CHECK(StateOf(panel) == PanelState{Joined(kLabels, {"New Search"}), kFourInputs});
    CHECK(IsChecked(panel.optTurboSearchFor(0)));
    CHECK_FALSE(IsChecked(panel.optTurboSearchFor(1)));
    CHECK(IsChecked(panel.chkTurbo()));

    xpv_test::ClickButton(panel.cmdNewSearch());
    const PanelState setUp{Joined(kLabels, {"optTurboSearchFor(0)", "optTurboSearchFor(1)", "Go"}), kFourInputs};
    CHECK(StateOf(panel) == setUp);

    REQUIRE(panel.dirTurbo().SetPath(programs.Path()));
    xpv_test::ClickButton(panel.lblTurboSearchFor(2));
    PanelState searching;
    bool stripEnabled = false;
    xpv_test::InsideNextYield duringSearch([&] {
        searching = StateOf(panel);
        stripEnabled = IsWindowEnabled(window.form.QuickMenuStrip()) != FALSE;
    });
    window.Go();
    REQUIRE(duringSearch.Ran());
    CHECK(searching == PanelState{{"STOP", "Show Results", "lblTurboScanning(0)", "lblTurboScanning(1)"}, {"dirTurbo"}});
    // The Quick Menu stays usable while a search runs.
    CHECK(stripEnabled);

    CHECK(StateOf(panel) ==
          PanelState{{"Show Results", "lblTurboScanning(0)", "lblTurboScanning(1)"}, {"Show Results"}});
    CHECK(TextOf(panel.cmdTurboApply()) == L"Add Themes to Selected Apps");

    window.ShowResults();
    const PanelState results{{"lstTurbo", "lblTurboScanning(0)", "lblTurboScanning(1)", "New Search", "+", "-", "apply"},
                             {}};
    CHECK(StateOf(panel) == results);
    // The result list covers the progress labels.
    for (HWND label : {panel.lblTurboScanning(0), panel.lblTurboScanning(1)}) {
        const RECT place = xpv_test::RectIn(label, panel.Window());
        const POINT middle{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
        CHECK(ChildWindowFromPointEx(panel.Window(), middle, CWP_SKIPINVISIBLE) == panel.lstTurbo().Handle());
    }

    PanelState applying;
    xpv_test::InsideNextYield duringApply([&] {
        applying = StateOf(panel);
        stripEnabled = IsWindowEnabled(window.form.QuickMenuStrip()) != FALSE;
    });
    window.Apply();
    REQUIRE(duringApply.Ran());
    CHECK(applying == PanelState{{"lstTurbo", "lblTurboScanning(0)", "lblTurboScanning(1)", "STOP"}, {}});
    CHECK_FALSE(stripEnabled);
    CHECK(StateOf(panel) == results);
    CHECK(IsWindowEnabled(window.form.QuickMenuStrip()));

    // Opening the panel again from the Quick Menu changes nothing.
    xpv_test::OpenPanel<VestrimPanel>(window.form);
    xpv_test::OpenPanel<TurboPanel>(window.form);
    CHECK(StateOf(panel) == results);

    xpv_test::ClickButton(panel.cmdNewSearch());
    CHECK(StateOf(panel) == setUp);
    CHECK_FALSE(IsChecked(panel.optTurboSearchFor(0)));
    CHECK(IsChecked(panel.optTurboSearchFor(1)));

    SUBCASE("a search with no result: Show Results shows the empty list and New Search only") {
        TempFolder empty;
        window.Search(empty.Path(), SearchMode::Unthemed);
        window.ShowResults();
        CHECK(StateOf(panel) ==
              PanelState{{"lstTurbo", "lblTurboScanning(0)", "lblTurboScanning(1)", "New Search"}, {}});
    }
}

TEST_CASE("The labels choose the options; Scan Subdirectories toggles the box; Search for does nothing") {
    TurboWindow window;
    const TurboView& panel = window.panel;
    // Before the first New Search the circles are hidden, and a click on a label still chooses.
    xpv_test::ClickButton(panel.lblTurboSearchFor(2));
    CHECK_FALSE(IsChecked(panel.optTurboSearchFor(0)));
    CHECK(IsChecked(panel.optTurboSearchFor(1)));
    xpv_test::ClickButton(panel.lblTurboSearchFor(0));
    CHECK(IsChecked(panel.optTurboSearchFor(1)));
    xpv_test::ClickButton(panel.lblTurboSearchFor(1));
    CHECK(IsChecked(panel.optTurboSearchFor(0)));
    CHECK_FALSE(IsChecked(panel.optTurboSearchFor(1)));

    xpv_test::ClickButton(panel.lblTurbo());
    CHECK_FALSE(IsChecked(panel.chkTurbo()));
    xpv_test::ClickButton(panel.lblTurbo());
    CHECK(IsChecked(panel.chkTurbo()));
}

TEST_CASE("A themed search lists a manifest without its program, with the progress texts exactly") {
    TurboWindow window;
    TempFolder programs;
    programs.AddFile(L"a.exe.manifest", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    window.Search(programs.Path(), SearchMode::Themed);

    const std::wstring line = L" >>  (" + programs / L"a.exe" + L") [00000]";
    CHECK(window.Lines() == std::vector<std::wstring>{line});
    CHECK(window.panel.ResultPaths() == std::vector<std::wstring>{programs / L"a.exe"});
    CHECK(window.FolderLabel() == kThemedHeading + L"Scanned Directories = 1\r\n");
    CHECK(window.FileLabel() == FileLabelText(1, 1, 0, line));
    CHECK(window.panel.SearchHeading() == kThemedHeading);
    CHECK(window.panel.Counters().themedFiles == 1);
    CHECK(window.panel.Counters().unthemedFiles == 0);
    CHECK(TextOf(window.panel.cmdTurboApply()) == L"Remove Themes from Selected Apps");
    // The folder list is back on the start folder.
    CHECK(window.panel.dirTurbo().Path() == programs.Path());
}

TEST_CASE("An unthemed search counts a program with a manifest as themed and lists the other") {
    TurboWindow window;
    TempFolder programs;
    AddProgram(programs / L"a.exe", L"alpha");
    programs.AddFile(L"a.exe.manifest");
    AddProgram(programs / L"b.exe", L"alpha");
    window.Search(programs.Path(), SearchMode::Unthemed);

    const std::wstring line = kAlpha + programs / L"b.exe" + L") [00000]";
    CHECK(window.Lines() == std::vector<std::wstring>{line});
    CHECK(window.panel.ResultPaths() == std::vector<std::wstring>{programs / L"b.exe"});
    CHECK(window.FolderLabel() == kUnthemedHeading + L"Scanned Directories = 1\r\n");
    CHECK(window.FileLabel() == FileLabelText(2, 1, 1, line));
}

TEST_CASE("Result lines are sorted by text; their serials follow the order found; each line keeps its program") {
    TurboWindow window;
    TempFolder programs;
    AddProgram(programs / L"a.exe", L"beta");
    AddProgram(programs / L"b.exe", L"plain");
    AddProgram(programs / L"c.exe", L"alpha");
    window.Search(programs.Path(), SearchMode::Unthemed);

    CHECK(window.Lines() ==
          std::vector<std::wstring>{L" >>  (" + programs / L"b.exe" + L") [00001]", kAlpha + programs / L"c.exe" + L") [00002]",
                                    L"Beta \"Viewer\" >> Views <beta> files (" + programs / L"a.exe" + L") [00000]"});
    CHECK(window.panel.ResultPaths() == std::vector<std::wstring>{programs / L"b.exe", programs / L"c.exe", programs / L"a.exe"});

    SUBCASE("a second search starts again from serial 00000 with both lists emptied") {
        TempFolder other;
        AddProgram(other / L"z.exe", L"plain");
        window.Search(other.Path(), SearchMode::Unthemed);
        CHECK(window.Lines() == std::vector<std::wstring>{L" >>  (" + other / L"z.exe" + L") [00000]"});
        CHECK(window.panel.ResultPaths() == std::vector<std::wstring>{other / L"z.exe"});
        CHECK(window.panel.Counters().scannedFiles == 1);
        CHECK(window.panel.Counters().scannedDirectories == 1);
    }
    SUBCASE("New Search, then Go without changes repeats the same search") {
        const std::vector<std::wstring> first = window.Lines();
        const std::vector<std::wstring> paths = window.panel.ResultPaths();
        window.ShowResults();
        xpv_test::ClickButton(window.panel.cmdNewSearch());
        window.Go();
        CHECK(window.Lines() == first);
        CHECK(window.panel.ResultPaths() == paths);
        CHECK(window.panel.dirTurbo().Path() == programs.Path());
    }
}

TEST_CASE("STOP or a close ends the search after the file in hand; the results so far stay, serials contiguous") {
    TurboWindow window;
    TempFolder programs;
    constexpr size_t kFiles = 1500;
    programs.AddFolder(L"many");
    AddManyPrograms(programs, L"many", kFiles);
    const HWND form = window.form.Window();
    size_t foundWhenAsked = 0;
    std::wstring fileLabel;

    SUBCASE("STOP") {
        const WhenTimerFinds stop([&] { return window.panel.Counters().results > 0; },
                                  [&] {
                                      foundWhenAsked = static_cast<size_t>(window.panel.Counters().results);
                                      xpv_test::ClickButton(window.panel.cmdStopSearch());
                                  });
        window.Search(programs.Path(), SearchMode::Unthemed);
        REQUIRE(stop.Ran());
        fileLabel = window.FileLabel();
        CHECK(window.panel.StopRequested());
        CHECK(StateOf(window.panel) ==
              PanelState{{"Show Results", "lblTurboScanning(0)", "lblTurboScanning(1)"}, {"Show Results"}});
    }
    SUBCASE("the window closed") {
        const WhenTimerFinds close([&] { return window.panel.Counters().results > 0; },
                                   [&] {
                                       foundWhenAsked = static_cast<size_t>(window.panel.Counters().results);
                                       SendMessageW(form, WM_CLOSE, 0, 0);
                                   });
        window.Search(programs.Path(), SearchMode::Unthemed);
        REQUIRE(close.Ran());
        fileLabel = window.FileLabel();
        // The window goes once the search has ended.
        CHECK(IsWindow(form));
        DoEvents();
        CHECK_FALSE(IsWindow(form));
    }

    // The progress shown lags behind the results found by at most the file in hand and what was
    // found since it was last shown.
    const size_t found = static_cast<size_t>(window.panel.lstTurbo().Count());
    CHECK(found >= foundWhenAsked);
    CHECK(found < kFiles);
    // Every serial from 00000 on, each line keeping the program it names.
    std::set<size_t> serials;
    std::wstring lastLine;
    for (int line = 0; line < window.panel.lstTurbo().Count(); ++line) {
        const std::wstring text = window.panel.lstTurbo().Text(line);
        const size_t serial = SerialOf(text);
        serials.insert(serial);
        REQUIRE(serial < found);
        CHECK(text == L" >>  (" + window.panel.lstTurbo().Value(line) + L") [" + text.substr(text.size() - 6, 5) + L"]");
        if (serial == found - 1) lastLine = text;
    }
    CHECK(serials.size() == found);
    CHECK(fileLabel == FileLabelText(static_cast<int>(found), 0, static_cast<int>(found), lastLine));
}

TEST_CASE("At the list's limit of lines the search stops as STOP would and says so") {
    TurboWindow window;
    TempFolder programs;
    programs.AddFolder(L"sub");
    for (const wchar_t* relative : {L"1.exe", L"2.exe", L"sub\\3.exe", L"sub\\4.exe"}) programs.AddFile(relative);
    window.panel.SetResultLimit(3);
    window.Search(programs.Path(), SearchMode::Unthemed);

    CHECK(window.panel.ResultPaths().size() == 3);
    CHECK(window.FolderLabel() == kUnthemedHeading + L"Scanned Directories = 2\r\nResult limit reached\r\n");
    CHECK(StateOf(window.panel) ==
          PanelState{{"Show Results", "lblTurboScanning(0)", "lblTurboScanning(1)"}, {"Show Results"}});
}

TEST_CASE("A folder that cannot be read is skipped and counted; the folder label grows to show every line") {
    TurboWindow window;
    TempFolder programs;
    for (const wchar_t* relative : {L"A", L"B", L"C"}) programs.AddFolder(relative);
    AddManyPrograms(programs, L"A", 1500);
    for (const wchar_t* relative : {L"B\\b.exe", L"C\\c.exe", L"C\\d.exe", L"C\\e.exe"}) programs.AddFile(relative);
    // B goes away after the start folder was listed, while A is examined.
    const WhenTimerFinds removeB([&] { return window.panel.Counters().results > 0; },
                                 [&] { xpv_test::RemoveTree(programs / L"B"); });
    window.panel.SetResultLimit(1502);
    window.Search(programs.Path(), SearchMode::Unthemed);

    REQUIRE(removeB.Ran());
    CHECK(window.panel.ResultPaths().size() == 1502);
    CHECK(window.panel.ResultPaths().back() == programs / L"C\\d.exe");
    CHECK(window.FolderLabel() ==
          kUnthemedHeading + L"Scanned Directories = 3\r\nSkipped Directories = 1\r\nResult limit reached\r\n");

    // Five lines do not fit the label's own height: it grows, and the file label moves down
    // below it, keeping its foot.
    const TwipScale& scale = window.controls.Scale();
    const RECT folder = xpv_test::RectIn(window.panel.lblTurboScanning(1), window.panel.Window());
    const RECT files = xpv_test::RectIn(window.panel.lblTurboScanning(0), window.panel.Window());
    const RECT folderPlace = scale.Rect(120, 1680, 4815, 735);
    const RECT filesPlace = scale.Rect(120, 2400, 4815, 1815);
    CHECK(folder.top == folderPlace.top);
    CHECK(TextHeightOf(window.panel.lblTurboScanning(1)) <= folder.bottom - folder.top);
    CHECK(files.top - filesPlace.top == folder.bottom - folderPlace.bottom);
    CHECK(files.bottom == filesPlace.bottom);
    CHECK(TextHeightOf(window.panel.lblTurboScanning(0)) <= files.bottom - files.top);

    SUBCASE("the next search lays the labels out as they were") {
        TempFolder plain;
        window.Search(plain.Path(), SearchMode::Unthemed);
        const RECT folderAgain = xpv_test::RectIn(window.panel.lblTurboScanning(1), window.panel.Window());
        const RECT filesAgain = xpv_test::RectIn(window.panel.lblTurboScanning(0), window.panel.Window());
        CHECK(EqualRect(&folderPlace, &folderAgain));
        CHECK(EqualRect(&filesPlace, &filesAgain));
    }
}

TEST_CASE("A start folder that cannot be read any more is the one skipped; the folder list keeps its path") {
    TurboWindow window;
    TempFolder programs;
    const std::wstring start = programs.AddFolder(L"gone");
    xpv_test::ClickButton(window.panel.cmdNewSearch());
    REQUIRE(window.panel.dirTurbo().SetPath(start));
    xpv_test::RemoveTree(start);
    window.Go();
    CHECK(window.panel.ResultPaths().empty());
    CHECK(window.FolderLabel() == kThemedHeading + L"Scanned Directories = 0\r\nSkipped Directories = 1\r\n");
    CHECK(window.FileLabel().empty());
    CHECK(TextHeightOf(window.panel.lblTurboScanning(1)) <=
          xpv_test::RectIn(window.panel.lblTurboScanning(1), window.panel.Window()).bottom -
              xpv_test::RectIn(window.panel.lblTurboScanning(1), window.panel.Window()).top);
    CHECK(window.panel.dirTurbo().Path() == start);
}

TEST_CASE("Theming the ticked results: each gets the document of its version details and its history entry") {
    TurboWindow window;
    TempFolder programs;
    // Sorted as named: a (no details), b (Alpha), c (Beta).
    const std::wstring a = AddProgram(programs / L"a.exe", L"plain");
    const std::wstring b = AddProgram(programs / L"b.exe", L"alpha");
    const std::wstring c = AddProgram(programs / L"c.exe", L"beta");
    window.Search(programs.Path(), SearchMode::Unthemed);
    window.ShowResults();
    const ProcessorArchitecture own = sizeof(void*) == 8 ? ProcessorArchitecture::Amd64 : ProcessorArchitecture::X86;

    SUBCASE("A and C of A, B, C: A, then C; B stays, unticked") {
        window.Tick({a, c});
        window.Apply();
        CHECK(window.Lines() == std::vector<std::wstring>{kAlpha + b + L") [00001]"});
        CHECK_FALSE(window.panel.lstTurbo().IsTicked(0));
        // The fixtures name no original file: the application name is empty.
        CHECK(xpv_test::ReadBytes(ManifestPathFor(a)) == ComposeManifestDocument({}, own));
        CHECK(xpv_test::ReadBytes(ManifestPathFor(c)) ==
              ComposeManifestDocument({L"Beta & Sons", L"Beta \"Viewer\"", L"", L"Views <beta> files"}, own));
        CHECK_FALSE(IsManifestPresent(ManifestPathFor(b)));
        // Recorded in the order handled, each after its manifest was written.
        CHECK(window.History() == std::vector<ProfileEntry>{{ManifestPathFor(a), L">>"},
                                                            {ManifestPathFor(c), L"Beta \"Viewer\" >> Views <beta> files"}});
        CHECK(StateOf(window.panel).visible.count("apply") == 1);
        CHECK(window.messages.empty());
        // A remaining line still leads to its own path.
        window.panel.lstTurbo().SetCurrent(0);
        CHECK(window.controls.TooltipOf(window.panel.lstTurbo().Handle()) == b);
    }
    SUBCASE("nothing ticked: nothing changes") {
        window.Apply();
        CHECK(window.Lines().size() == 3);
        CHECK(window.History().empty());
        CHECK(StateOf(window.panel).visible.count("apply") == 1);
    }
    SUBCASE("all ticked: the list ends empty and only New Search is offered") {
        xpv_test::ClickButton(window.panel.cmdTurboSelAll());
        window.Apply();
        CHECK(window.Lines().empty());
        for (const std::wstring& program : {a, b, c}) CHECK(IsManifestPresent(ManifestPathFor(program)));
        CHECK(StateOf(window.panel) ==
              PanelState{{"lstTurbo", "lblTurboScanning(0)", "lblTurboScanning(1)", "New Search"}, {}});
        // The History panel lists them.
        CHECK(HistoryPanel::TestView{xpv_test::OpenPanel<HistoryPanel>(window.form)}.lstHistory().Count() == 3);
    }
    SUBCASE("STOP after the first: the rest stay ticked and the apply is offered again") {
        xpv_test::ClickButton(window.panel.cmdTurboSelAll());
        const OnListCount clickStop(window.panel.lstTurbo().Handle(), [&](size_t count) {
            if (count == 2) PostClick(window.panel.cmdStopSearch());
        });
        window.Apply();
        CHECK(window.Lines().size() == 2);
        CHECK(window.panel.lstTurbo().IsTicked(0));
        CHECK(window.panel.lstTurbo().IsTicked(1));
        CHECK(window.History().size() == 1);
        CHECK(StateOf(window.panel).visible.count("apply") == 1);
    }
    SUBCASE("+ ticks and - unticks every line") {
        xpv_test::ClickButton(window.panel.cmdTurboSelAll());
        for (int i = 0; i < 3; ++i) CHECK(window.panel.lstTurbo().IsTicked(i));
        xpv_test::ClickButton(window.panel.cmdTurboUnselAll());
        for (int i = 0; i < 3; ++i) CHECK_FALSE(window.panel.lstTurbo().IsTicked(i));
    }
}

TEST_CASE("Un-theming the ticked results removes their manifests, whatever their attributes") {
    TurboWindow window;
    TempFolder programs;
    const std::wstring a = AddProgram(programs / L"a.exe", L"alpha");
    const std::wstring b = AddProgram(programs / L"b.exe", L"beta");
    const std::wstring c = programs / L"c.exe";  // gone: only its manifest is left
    for (const std::wstring& program : {a, b, c}) {
        REQUIRE(WriteManifestFile(ManifestPathFor(program), ComposeManifestDocument({}, ProcessorArchitecture::X86)));
    }
    SetFileAttributesW(ManifestPathFor(a).c_str(),
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    window.Search(programs.Path(), SearchMode::Themed);
    window.ShowResults();
    REQUIRE(window.Lines().size() == 3);

    SUBCASE("A and C ticked: each made current in turn, from the top, and removed; B stays") {
        // Sorted: c (no details), a, b.
        std::vector<std::wstring> madeCurrent;
        window.panel.lstTurbo().onClick = [&] {
            madeCurrent.push_back(window.panel.lstTurbo().Value(window.panel.lstTurbo().Current()));
        };
        window.Tick({a, c});
        window.Apply();
        CHECK(madeCurrent == std::vector<std::wstring>{c, a});
        CHECK(window.Lines() == std::vector<std::wstring>{L"Beta \"Viewer\" >> Views <beta> files (" + b + L") [00001]"});
        CHECK_FALSE(window.panel.lstTurbo().IsTicked(0));
        for (const std::wstring& program : {a, c}) CHECK_FALSE(IsManifestPresent(ManifestPathFor(program)));
        CHECK(IsManifestPresent(ManifestPathFor(b)));
        CHECK(window.messages.empty());
    }
    SUBCASE("a manifest that is gone already counts as removed") {
        SetFileAttributesW(ManifestPathFor(b).c_str(), FILE_ATTRIBUTE_NORMAL);
        REQUIRE(DeleteFileW(ManifestPathFor(b).c_str()));
        window.Tick({b});
        window.Apply();
        CHECK(window.IndexOf(b) < 0);
        CHECK(window.messages.empty());
    }
    SUBCASE("STOP while the first is removed: it is finished, the others stay ticked") {
        xpv_test::ClickButton(window.panel.cmdTurboSelAll());
        bool clicked = false;
        window.panel.lstTurbo().onClick = [&] {
            if (!clicked) PostClick(window.panel.cmdStopSearch());
            clicked = true;
        };
        window.Apply();
        CHECK(window.Lines().size() == 2);
        CHECK(window.panel.lstTurbo().IsTicked(0));
        CHECK(window.panel.lstTurbo().IsTicked(1));
        CHECK(StateOf(window.panel).visible.count("apply") == 1);
    }
}

TEST_CASE("A line whose action fails is unticked and stays; the others are done; told once at the end") {
    TurboWindow window;
    TempFolder programs;
    const std::wstring a = AddProgram(programs / L"a.exe", L"alpha");
    const std::wstring b = AddProgram(programs / L"b.exe", L"beta");
    const std::wstring c = AddProgram(programs / L"c.exe", L"plain");

    SUBCASE("theming: a folder in the manifest's place, and a program that went away") {
        window.Search(programs.Path(), SearchMode::Unthemed);
        window.ShowResults();
        REQUIRE(CreateDirectoryW(ManifestPathFor(a).c_str(), nullptr));
        SetFileAttributesW(c.c_str(), FILE_ATTRIBUTE_NORMAL);
        REQUIRE(DeleteFileW(c.c_str()));
        xpv_test::ClickButton(window.panel.cmdTurboSelAll());
        window.Apply();
        CHECK(window.Lines().size() == 2);
        CHECK(window.IndexOf(a) >= 0);
        CHECK(window.IndexOf(c) >= 0);
        for (int i = 0; i < 2; ++i) CHECK_FALSE(window.panel.lstTurbo().IsTicked(i));
        CHECK(IsManifestPresent(ManifestPathFor(b)));
        CHECK_FALSE(IsManifestPresent(ManifestPathFor(c)));
        // Only the manifest that was written is in the history.
        CHECK(window.History() == std::vector<ProfileEntry>{{ManifestPathFor(b), L"Beta \"Viewer\" >> Views <beta> files"}});
        REQUIRE(window.messages.size() == 1);
        CHECK(window.messages[0].find(a + L" - a folder or other item") != std::wstring::npos);
        CHECK(window.messages[0].find(c + L" - not found") != std::wstring::npos);
    }
    SUBCASE("un-theming: a manifest held open") {
        for (const std::wstring& program : {a, b}) {
            REQUIRE(WriteManifestFile(ManifestPathFor(program), ComposeManifestDocument({}, ProcessorArchitecture::X86)));
        }
        window.Search(programs.Path(), SearchMode::Themed);
        window.ShowResults();
        const UniqueHandle held(
            CreateFileW(ManifestPathFor(a).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        REQUIRE(held);
        xpv_test::ClickButton(window.panel.cmdTurboSelAll());
        window.Apply();
        CHECK(window.Lines().size() == 1);
        CHECK(window.IndexOf(a) == 0);
        CHECK_FALSE(window.panel.lstTurbo().IsTicked(0));
        CHECK_FALSE(IsManifestPresent(ManifestPathFor(b)));
        REQUIRE(window.messages.size() == 1);
        CHECK(window.messages[0].find(a + L" - in use by another program") != std::wstring::npos);
    }
}

TEST_CASE("Paths longer than MAX_PATH are searched, themed and un-themed; lists and history keep the plain path") {
    TurboWindow window;
    TempFolder programs;
    const DeepFolder deep(programs);
    const std::wstring program = deep.Path() + L"\\deep.exe";
    REQUIRE(CopyFileW((kFixtures + L"\\alpha.exe").c_str(), DeepFolder::LongForm(program).c_str(), FALSE));

    window.Search(programs.Path(), SearchMode::Unthemed);
    CHECK(window.Lines() == std::vector<std::wstring>{kAlpha + program + L") [00000]"});
    window.ShowResults();
    xpv_test::ClickButton(window.panel.cmdTurboSelAll());
    window.Apply();
    CHECK(window.Lines().empty());
    CHECK(window.messages.empty());
    CHECK(IsManifestPresent(ManifestPathFor(program)));
    CHECK(window.History() == std::vector<ProfileEntry>{{ManifestPathFor(program), L"Alpha Editor >> Edits alpha files"}});

    xpv_test::ClickButton(window.panel.cmdNewSearch());
    xpv_test::ClickButton(window.panel.lblTurboSearchFor(1));
    window.Go();
    CHECK(window.panel.ResultPaths() == std::vector<std::wstring>{program});
    window.ShowResults();
    xpv_test::ClickButton(window.panel.cmdTurboSelAll());
    window.Apply();
    CHECK(window.Lines().empty());
    CHECK_FALSE(IsManifestPresent(ManifestPathFor(program)));
    CHECK(window.messages.empty());
}

TEST_CASE("Closing the window during an apply finishes the line in hand, then stops and closes") {
    TempFolder programs;
    for (const wchar_t* name : {L"1.exe", L"2.exe", L"3.exe"}) AddProgram(programs / name, L"plain");
    TurboWindow window;
    const HWND form = window.form.Window();
    window.Search(programs.Path(), SearchMode::Unthemed);
    window.ShowResults();
    xpv_test::ClickButton(window.panel.cmdTurboSelAll());
    const OnListCount close(window.panel.lstTurbo().Handle(), [&](size_t count) {
        if (count == 2) PostMessageW(form, WM_CLOSE, 0, 0);
    });
    window.Apply();
    CHECK(IsManifestPresent(programs / L"1.exe.manifest"));
    CHECK_FALSE(IsManifestPresent(programs / L"2.exe.manifest"));
    CHECK(IsWindow(form));
    DoEvents();
    CHECK_FALSE(IsWindow(form));
}

TEST_CASE("STOP of the batch search leaves the Vestrim and History actions alone") {
    TurboWindow window;
    TempFolder programs;
    AddProgram(programs / L"a.exe", L"alpha");
    AddProgram(programs / L"b.exe", L"alpha");
    // Many more below, walked after the folder's own files: STOP comes while the search is busy
    // there, once it has found something.
    programs.AddFolder(L"many");
    AddManyPrograms(programs, L"many", 1500);
    const WhenTimerFinds clickStop([&] { return window.panel.Counters().results > 0; },
                                   [&] { xpv_test::ClickButton(window.panel.cmdStopSearch()); });
    window.Search(programs.Path(), SearchMode::Unthemed);
    REQUIRE(clickStop.Ran());
    REQUIRE(window.panel.StopRequested());
    REQUIRE(window.panel.ResultPaths().size() < 1502);

    // The Vestrim panel themes a.exe and b.exe...
    VestrimPanel& vestrim = xpv_test::OpenPanel<VestrimPanel>(window.form);
    vestrim.OpenFolder(programs.Path());
    xpv_test::ClickButton(GetDlgItem(vestrim.Window(), VestrimPanel::kCmdUnThemedSelAll));
    xpv_test::ClickButton(GetDlgItem(vestrim.Window(), VestrimPanel::kCmdVestrim));
    CHECK(IsManifestPresent(programs / L"a.exe.manifest"));
    CHECK(IsManifestPresent(programs / L"b.exe.manifest"));

    // ...and the History panel removes the themes again.
    HistoryPanel& history = xpv_test::OpenPanel<HistoryPanel>(window.form);
    REQUIRE(HistoryPanel::TestView{history}.lstHistory().Count() == 2);
    xpv_test::ClickButton(GetDlgItem(history.Window(), HistoryPanel::kCmdHistorySelAll));
    xpv_test::ClickButton(GetDlgItem(history.Window(), HistoryPanel::kCmdHistoryRemoveTheme));
    CHECK_FALSE(IsManifestPresent(programs / L"a.exe.manifest"));
    CHECK_FALSE(IsManifestPresent(programs / L"b.exe.manifest"));
    CHECK(window.panel.StopRequested());
}
