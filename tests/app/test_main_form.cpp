#include <windows.h>

#include "app/MainForm.h"
#include "history/HistoryLocation.h"
#include "app/MessagePump.h"
#include "support/PanelViews.h"
#include "support/TooltipText.h"
#include "support/WindowGeometry.h"
#include "support/WindowInput.h"
#include "support/WindowTestOptions.h"
#include "support/doctest_wide.h"

using xpv_test::RectIn;

namespace {

std::wstring DirectoryOfThisProgram() {
    wchar_t path[MAX_PATH] = {};
    const std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of(L'\\'));
}

}  // namespace

TEST_CASE("The main window is laid out in twips through the screen's DPI") {
    MainForm form(xpv_test::WindowTestOptions());
    REQUIRE(form.Create());
    const MainForm::TestView view{form};
    const TwipScale& scale = view.Controls().Scale();
    CHECK(scale.Dpi() == TwipScale::ForScreen().Dpi());

    wchar_t caption[64] = {};
    GetWindowTextW(form.Window(), caption, 64);
    CHECK(std::wstring(caption) == L"Orlek - XP Vestrim");

    RECT client;
    GetClientRect(form.Window(), &client);
    CHECK(client.right == scale.ToPixels(5955));
    CHECK(client.bottom == scale.ToPixels(4665));
    if (scale.Dpi() == 96) {
        CHECK(client.right == 397);
        CHECK(client.bottom == 311);
    }

    SUBCASE("centred on the work area") {
        RECT frame, work;
        GetWindowRect(form.Window(), &frame);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        CHECK(std::abs((frame.left - work.left) - (work.right - frame.right)) <= 1);
        CHECK(std::abs((frame.top - work.top) - (work.bottom - frame.bottom)) <= 1);
    }

    SUBCASE("the strip and the panels at their rectangles; only the Vestrim panel is made and shows") {
        const RECT bar = RectIn(form.QuickMenuStrip(), form.Window());
        CHECK(bar.left == 0);
        CHECK(bar.right == scale.ToPixels(855));
        CHECK(bar.bottom == scale.ToPixels(4695));
        const HWND vestrim = view.Panel<VestrimPanel>().Window();
        CHECK(IsWindowVisible(vestrim));
        // The other panels are made when they are first shown.
        for (size_t index = 0; index < kPanelCount; ++index) {
            CAPTURE(index);
            const HWND panel = view.PanelAt(index).Window();
            CHECK((panel == vestrim || panel == nullptr));
        }
        for (size_t index = 0; index < kPanelCount; ++index) {
            CAPTURE(index);
            xpv_test::ClickQuickMenuItem(form, index);
            const HWND panel = view.PanelAt(index).Window();
            const RECT rect = RectIn(panel, form.Window());
            CHECK(rect.left == scale.ToPixels(840));
            CHECK(rect.top == 0);
            CHECK(rect.right - rect.left == scale.ToPixels(5115));
            CHECK(rect.bottom - rect.top == scale.ToPixels(4755));
            int visible = 0;
            for (size_t other = 0; other < kPanelCount; ++other) visible += IsWindowVisible(view.PanelAt(other).Window()) ? 1 : 0;
            CHECK(visible == 1);
            CHECK(IsWindowVisible(panel));
        }
        // The panel overlaps the strip by one pixel at 96 DPI.
        CHECK(RectIn(vestrim, form.Window()).left < bar.right);
    }

    SUBCASE("the wide lists are empty, each with a scroll range measured in its own font") {
        CheckList& turbo = TurboPanel::TestView{xpv_test::OpenPanel<TurboPanel>(form)}.lstTurbo();
        HistoryPanel& historyPanel = xpv_test::OpenPanel<HistoryPanel>(form);
        CheckList& history = HistoryPanel::TestView{historyPanel}.lstHistory();
        SettingsPanel& settingsPanel = xpv_test::OpenPanel<SettingsPanel>(form);
        CheckList& settings = SettingsPanel::TestView{settingsPanel}.lstSettings();
        for (CheckList* list : {&turbo, &history, &settings}) {
            CHECK(list->Count() == 0);
            RECT inside;
            GetClientRect(list->Handle(), &inside);
            // The 231-character sample is far wider than any of the lists.
            CHECK(list->HorizontalExtent() > inside.right * 2);
        }
        CHECK(turbo.HorizontalExtent() == history.HorizontalExtent());
        CHECK(settings.HorizontalExtent() > history.HorizontalExtent());
        CHECK_FALSE(IsWindowVisible(turbo.Handle()));
        CHECK(RectIn(history.Handle(), historyPanel.Window()).left == scale.ToPixels(120));
        CHECK(RectIn(settings.Handle(), settingsPanel.Window()).left == scale.ToPixels(1440));
    }

    SUBCASE("the profile files lie in the directory of the executable") {
        CHECK(view.History().File() == DirectoryOfThisProgram() + L"\\history.db");
        CHECK(SettingsPanel::TestView{view.Panel<SettingsPanel>()}.Catalogue() ==
              DirectoryOfThisProgram() + L"\\settings.db");
    }
}

TEST_CASE("A drive root as application directory gets one backslash before history.db") {
    MainForm::Options options = xpv_test::WindowTestOptions();
    options.applicationDirectory = L"C:\\";
    MainForm form(options);
    REQUIRE(form.Create());
    CHECK(MainForm::TestView{form}.History().File() == L"C:\\history.db");
}

TEST_CASE("DoEvents runs queued messages and never swallows the quit message") {
    MainForm form(xpv_test::WindowTestOptions());
    REQUIRE(form.Create());
    const MainForm::TestView view{form};
    // A queued click on the Turbo Vestrim item is handled inside DoEvents.
    const HWND item = QuickMenu::TestView{view.Menu()}.Item(PanelIndex<TurboPanel>());
    PostMessageW(form.QuickMenuStrip(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(item), STN_CLICKED),
                 reinterpret_cast<LPARAM>(item));
    CHECK_FALSE(IsWindowVisible(view.Panel<TurboPanel>().Window()));
    CHECK(DoEvents());
    CHECK(IsWindowVisible(view.Panel<TurboPanel>().Window()));

    PostQuitMessage(7);
    CHECK_FALSE(DoEvents());
    MSG message;
    REQUIRE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    CHECK(message.wParam == 7);
}

TEST_CASE("Closing the window while a long action runs lets the action finish first") {
    MainForm form(xpv_test::WindowTestOptions());
    REQUIRE(form.Create());
    HWND window = form.Window();
    const HWND list = GetDlgItem(MainForm::TestView{form}.Panel<VestrimPanel>().Window(), VestrimPanel::kLstUnthemed);
    {
        MainForm::LongAction action(form);
        SendMessageW(window, WM_CLOSE, 0, 0);
        // The controls the action works on are still there; it is told to stop.
        CHECK(IsWindow(window));
        CHECK(IsWindow(list));
        CHECK(form.CloseRequested());
        DoEvents();
        CHECK(IsWindow(window));
    }
    DoEvents();
    CHECK_FALSE(IsWindow(window));
}

TEST_CASE("An application directory on a network path starts the window all the same") {
    MainForm::Options options = xpv_test::WindowTestOptions();
    options.applicationDirectory = L"\\\\nohost\\share\\tools";
    MainForm form(options);
    REQUIRE(form.Create());
    const MainForm::TestView view{form};
    CHECK(IsWindowVisible(view.Panel<VestrimPanel>().Window()));
    // No file can be made there: the history lives in the user's application data, and History
    // names it.
    const std::wstring appDataHistory = UserAppDataDirectory() + L"\\Orlek\\XP Vestrim\\history.db";
    CHECK(view.History().File() == appDataHistory);
    const HistoryPanel& history = xpv_test::OpenPanel<HistoryPanel>(form);
    CHECK(view.Controls().TooltipOf(GetDlgItem(history.Window(), HistoryPanel::kLstHistory)) ==
          L"History file: " + appDataHistory);
    // The folder lists stay on a folder they can show.
    const VestrimPanel::TestView vestrim{view.Panel<VestrimPanel>()};
    CHECK_FALSE(vestrim.Dir1().Path().empty());
    CHECK(vestrim.FilePath() == vestrim.Dir1().Path());
}

TEST_CASE("Tool tips break long notes into lines of a readable width, scaled with the DPI; short ones stay one line") {
    MainForm form(xpv_test::WindowTestOptions());
    REQUIRE(form.Create());
    const TwipScale& scale = MainForm::TestView{form}.Controls().Scale();
    const HWND tooltips = xpv_test::TooltipWindowOf(form.Window());
    REQUIRE(tooltips != nullptr);
    const int widest = scale.ScaleDesignPixels(ControlFactory::kTooltipWidthAt96);
    CHECK(SendMessageW(tooltips, TTM_GETMAXTIPWIDTH, 0, 0) == widest);
    // Wide enough for a path of the usual length, and far inside a 1024-pixel screen.
    CHECK(ControlFactory::kTooltipWidthAt96 >= 400);
    CHECK(ControlFactory::kTooltipWidthAt96 <= 1024 / 2);

    // A tip shown where the test puts it, in the window's own tooltip window: its size on screen.
    std::wstring text;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = form.Window();
    tool.uId = 0x7E57;
    REQUIRE(SendMessageW(tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
    const auto shownSize = [&](const std::wstring& shown) {
        text = shown;
        tool.lpszText = text.data();
        SendMessageW(tooltips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(tooltips, TTM_TRACKPOSITION, 0, MAKELPARAM(10, 10));
        SendMessageW(tooltips, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
        DoEvents();
        RECT rect{};
        GetWindowRect(tooltips, &rect);
        const bool visible = IsWindowVisible(tooltips) != FALSE;
        SendMessageW(tooltips, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
        CHECK(visible);
        return SIZE{rect.right - rect.left, rect.bottom - rect.top};
    };
    const SIZE shortTip = shownSize(L"Turbo Vestrim");
    const SIZE note = shownSize(
        L"This program carries a manifest of its own in its file, and that manifest does not ask for the "
        L"Common Controls of Windows XP. Windows Vista and later read it instead of the file beside the "
        L"program, so a theme written there shows only once Windows prefers manifests beside programs. "
        L"Windows XP reads the file beside it and shows the new look at the next start.");
    SendMessageW(tooltips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    CAPTURE(shortTip.cx);
    CAPTURE(shortTip.cy);
    CAPTURE(note.cx);
    CAPTURE(note.cy);
    const int frame = scale.ScaleDesignPixels(16);  // the tip's border and margins around its text
    CHECK(shortTip.cx < widest / 2);
    CHECK(note.cx <= widest + frame);
    CHECK(note.cx > widest / 2);
    // Several lines: the short tip is one.
    CHECK(note.cy >= 3 * (shortTip.cy - frame));
    CHECK(note.cy > 2 * shortTip.cy);
}
