#include <windows.h>

#include "app/MainForm.h"
#include "platform/MessagePump.h"
#include "support/WindowGeometry.h"
#include "support/WindowTestOptions.h"
#include "support/doctest_wide.h"

using xpv_test::RectIn;

TEST_CASE("The main window is laid out in twips through the screen's DPI") {
    MainForm form(xpv_test::WindowTestOptions());
    REQUIRE(form.Create());
    const TwipScale& scale = form.Scale();

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

    SUBCASE("the strip and six panels at their rectangles; only the Vestrim panel shows") {
        const RECT bar = RectIn(form.quickMenu.OutlookBar(), form.Window());
        CHECK(bar.left == 0);
        CHECK(bar.right == scale.ToPixels(855));
        CHECK(bar.bottom == scale.ToPixels(4695));
        const HWND panels[] = {form.help.Window(),     form.vestrim.Window(), form.turbo.Window(),
                               form.settings.Window(), form.about.Window(),   form.history.Window()};
        int visible = 0;
        for (HWND panel : panels) {
            const RECT rect = RectIn(panel, form.Window());
            CHECK(rect.left == scale.ToPixels(840));
            CHECK(rect.top == 0);
            CHECK(rect.right - rect.left == scale.ToPixels(5115));
            CHECK(rect.bottom - rect.top == scale.ToPixels(4755));
            visible += IsWindowVisible(panel) ? 1 : 0;
        }
        CHECK(visible == 1);
        CHECK(IsWindowVisible(form.vestrim.Window()));
        // The panel overlaps the strip by one pixel at 96 DPI.
        CHECK(RectIn(form.vestrim.Window(), form.Window()).left < bar.right);
    }

    SUBCASE("the wide lists are empty, each with a scroll range measured in its own font") {
        for (CheckList* list : {&form.turbo.lstTurbo, &form.history.lstHistory, &form.settings.lstSettings}) {
            CHECK(list->Count() == 0);
            RECT inside;
            GetClientRect(list->Handle(), &inside);
            // The 231-character sample is far wider than any of the lists.
            CHECK(list->HorizontalExtent() > inside.right * 2);
        }
        CHECK(form.turbo.lstTurbo.HorizontalExtent() == form.history.lstHistory.HorizontalExtent());
        CHECK(form.settings.lstSettings.HorizontalExtent() > form.history.lstHistory.HorizontalExtent());
        CHECK_FALSE(IsWindowVisible(form.turbo.lstTurbo.Handle()));
        CHECK(RectIn(form.history.lstHistory.Handle(), form.history.Window()).left == scale.ToPixels(120));
        CHECK(RectIn(form.settings.lstSettings.Handle(), form.settings.Window()).left == scale.ToPixels(1440));
    }

    SUBCASE("the profile files lie in the application directory") {
        CHECK(form.HistoryFilePath() == form.ApplicationDirectory() + L"\\history.db");
        CHECK(form.SettingsFilePath() == form.ApplicationDirectory() + L"\\settings.db");
    }
}

TEST_CASE("A drive root as application directory keeps its backslash in the profile paths") {
    MainForm::Options options = xpv_test::WindowTestOptions();
    options.applicationDirectory = L"C:\\";
    MainForm form(options);
    REQUIRE(form.Create());
    CHECK(form.HistoryFilePath() == L"C:\\\\history.db");
}

TEST_CASE("DoEvents runs queued messages and never swallows the quit message") {
    MainForm form(xpv_test::WindowTestOptions());
    REQUIRE(form.Create());
    // A queued click on the Turbo Vestrim item is handled inside DoEvents.
    PostMessageW(form.quickMenu.OutlookBar(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(form.quickMenu.Qmenu[3]), STN_CLICKED),
                 reinterpret_cast<LPARAM>(form.quickMenu.Qmenu[3]));
    CHECK_FALSE(IsWindowVisible(form.turbo.Window()));
    CHECK(DoEvents());
    CHECK(IsWindowVisible(form.turbo.Window()));

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
    {
        MainForm::LongAction action(form);
        SendMessageW(window, WM_CLOSE, 0, 0);
        // The controls the action works on are still there; it is told to stop.
        CHECK(IsWindow(window));
        CHECK(IsWindow(form.history.lstHistory.Handle()));
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
    CHECK(IsWindowVisible(form.vestrim.Window()));
    CHECK(form.HistoryFilePath() == L"\\\\nohost\\share\\tools\\history.db");
    // The folder lists stay on a folder they can show.
    CHECK_FALSE(form.vestrim.Dir1.Path().empty());
    CHECK(form.vestrim.File1.Path == form.vestrim.Dir1.Path());
}
