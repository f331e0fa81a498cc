#include <windows.h>

#include "app/MainForm.h"
#include "platform/MessagePump.h"
#include "support/doctest_wide.h"

namespace {

RECT RectIn(HWND control, HWND container) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

MainForm::Options TestOptions() {
    MainForm::Options options;
    options.endsProgram = false;
    return options;
}

}  // namespace

TEST_CASE("The main window is laid out in twips through the screen's DPI") {
    MainForm form;
    REQUIRE(form.Create(TestOptions()));
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
        const RECT bar = RectIn(form.OutlookBar, form.Window());
        CHECK(bar.left == 0);
        CHECK(bar.right == scale.ToPixels(855));
        CHECK(bar.bottom == scale.ToPixels(4695));
        const HWND panels[] = {form.picHelp,     form.picVestrim, form.picTurbo,
                               form.picSettings, form.picAbout,   form.picHistory};
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
        CHECK(IsWindowVisible(form.picVestrim));
        // The panel overlaps the strip by one pixel at 96 DPI.
        CHECK(RectIn(form.picVestrim, form.Window()).left < bar.right);
    }

    SUBCASE("the wide lists are empty, each with a scroll range measured in its own font") {
        for (CheckList* list : {&form.lstTurbo, &form.lstHistory, &form.lstSettings}) {
            CHECK(list->Count() == 0);
            RECT inside;
            GetClientRect(list->Handle(), &inside);
            // The 231-character sample is far wider than any of the lists.
            CHECK(list->HorizontalExtent() > inside.right * 2);
        }
        CHECK(form.lstTurbo.HorizontalExtent() == form.lstHistory.HorizontalExtent());
        CHECK(form.lstSettings.HorizontalExtent() > form.lstHistory.HorizontalExtent());
        CHECK_FALSE(IsWindowVisible(form.lstTurbo.Handle()));
        CHECK(RectIn(form.lstHistory.Handle(), form.picHistory).left == scale.ToPixels(120));
        CHECK(RectIn(form.lstSettings.Handle(), form.picSettings).left == scale.ToPixels(1440));
    }

    SUBCASE("the profile files lie in the application directory") {
        CHECK(form.HistoryFilePath() == form.ApplicationDirectory() + L"\\history.db");
        CHECK(form.SettingsFilePath() == form.ApplicationDirectory() + L"\\settings.db");
    }
}

TEST_CASE("A drive root as application directory keeps its backslash in the profile paths") {
    MainForm form;
    MainForm::Options options = TestOptions();
    options.applicationDirectory = L"C:\\";
    REQUIRE(form.Create(options));
    CHECK(form.HistoryFilePath() == L"C:\\\\history.db");
}

TEST_CASE("DoEvents runs queued messages and never swallows the quit message") {
    MainForm form;
    REQUIRE(form.Create(TestOptions()));
    // A queued click on the Turbo Vestrim item is handled inside DoEvents.
    PostMessageW(form.OutlookBar, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(form.Qmenu[3]), STN_CLICKED),
                 reinterpret_cast<LPARAM>(form.Qmenu[3]));
    CHECK_FALSE(IsWindowVisible(form.picTurbo));
    CHECK(DoEvents());
    CHECK(IsWindowVisible(form.picTurbo));

    PostQuitMessage(7);
    CHECK_FALSE(DoEvents());
    MSG message;
    REQUIRE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    CHECK(message.wParam == 7);
}

TEST_CASE("Closing the window while a long action runs lets the action finish first") {
    MainForm form;
    REQUIRE(form.Create(TestOptions()));
    HWND window = form.Window();
    {
        MainForm::LongAction action(form);
        SendMessageW(window, WM_CLOSE, 0, 0);
        // The controls the action works on are still there; it is told to stop.
        CHECK(IsWindow(window));
        CHECK(IsWindow(form.lstHistory.Handle()));
        CHECK(form.ShouldStop());
        DoEvents();
        CHECK(IsWindow(window));
    }
    DoEvents();
    CHECK_FALSE(IsWindow(window));
}

TEST_CASE("An application directory on a network path starts the window all the same") {
    MainForm form;
    MainForm::Options options = TestOptions();
    options.applicationDirectory = L"\\\\nohost\\share\\tools";
    REQUIRE(form.Create(options));
    CHECK(IsWindowVisible(form.picVestrim));
    CHECK(form.HistoryFilePath() == L"\\\\nohost\\share\\tools\\history.db");
    // The folder lists stay on a folder they can show.
    CHECK_FALSE(form.Dir1.Path().empty());
    CHECK(form.File1.Path == form.Dir1.Path());
}
