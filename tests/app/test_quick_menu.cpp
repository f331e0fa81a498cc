#include <windows.h>

#include "app/MainForm.h"
#include "platform/MessagePump.h"
#include "support/WindowGeometry.h"
#include "support/WindowTestOptions.h"
#include "support/doctest_wide.h"

namespace {

struct Item {
    int index;
    int top;
    const wchar_t* tooltip;
    HWND (*panel)(const MainForm&);
};

// From top to bottom of the strip.
const Item kItems[] = {
    {0, 620, L"Vestrim", [](const MainForm& form) { return form.vestrim.Window(); }},
    {3, 1200, L"Turbo Vestrim", [](const MainForm& form) { return form.turbo.Window(); }},
    {4, 1780, L"History", [](const MainForm& form) { return form.history.Window(); }},
    {5, 2360, L"Settings", [](const MainForm& form) { return form.settings.Window(); }},
    {1, 2940, L"Help", [](const MainForm& form) { return form.help.Window(); }},
    {2, 3520, L"About", [](const MainForm& form) { return form.about.Window(); }},
};

int TopInStrip(const MainForm& form, HWND control) { return xpv_test::RectIn(control, form.quickMenu.OutlookBar()).top; }

int VisiblePanels(const MainForm& form) {
    int visible = 0;
    for (HWND panel : {form.help.Window(), form.vestrim.Window(), form.turbo.Window(), form.settings.Window(), form.about.Window(),
                       form.history.Window()}) {
        visible += IsWindowVisible(panel) ? 1 : 0;
    }
    return visible;
}

}  // namespace

TEST_CASE("Each Quick Menu item stands at its place with its tooltip and opens its panel") {
    MainForm form(xpv_test::WindowTestOptions());
    REQUIRE(form.Create());
    wchar_t caption[32] = {};
    GetWindowTextW(form.quickMenu.lblQMenuTop, caption, 32);
    CHECK(std::wstring(caption) == L" Quick Menu");
    CHECK(form.TooltipOf(form.quickMenu.imgQMenuBottom) == L"Patient Information Sheet");

    for (const Item& item : kItems) {
        CAPTURE(item.index);
        HWND icon = form.quickMenu.Qmenu[item.index];
        CHECK(TopInStrip(form, icon) == form.Scale().ToPixels(item.top));
        CHECK(form.TooltipOf(icon) == item.tooltip);
        CHECK(form.quickMenu.QmenuIcon(item.index) != nullptr);

        // A real click on the item, as the strip reports it.
        SendMessageW(form.quickMenu.OutlookBar(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(icon), STN_CLICKED),
                     reinterpret_cast<LPARAM>(icon));
        CHECK(IsWindowVisible(item.panel(form)));
        CHECK(VisiblePanels(form) == 1);
        CHECK(form.quickMenu.QmenuSelectedTop() == item.top - 80);
        CHECK(TopInStrip(form, form.quickMenu.QmenuSelected) == form.Scale().ToPixels(item.top - 80));
        CHECK_FALSE(IsWindowVisible(form.quickMenu.QmenuSelector));
    }

    SUBCASE("an index that names no item hides every panel") {
        form.quickMenu.Qmenu_Click(9);
        CHECK(VisiblePanels(form) == 0);
    }
}

TEST_CASE("The raised button follows the hovered item, never over the open one") {
    MainForm form(xpv_test::WindowTestOptions());
    REQUIRE(form.Create());
    REQUIRE(form.quickMenu.QmenuSelectedTop() == 620 - 80);  // Vestrim is open after start-up

    form.quickMenu.Qmenu_MouseMove(0);
    CHECK(form.quickMenu.HoveredIndex == 0);
    CHECK_FALSE(IsWindowVisible(form.quickMenu.QmenuSelector));

    form.quickMenu.Qmenu_MouseMove(4);
    CHECK(IsWindowVisible(form.quickMenu.QmenuSelector));
    CHECK(form.quickMenu.QmenuSelectorTop() == 1780 - 80);
    CHECK(TopInStrip(form, form.quickMenu.QmenuSelector) == form.Scale().ToPixels(1780 - 80));
    CHECK(form.quickMenu.SelectorIcon() == form.quickMenu.QmenuIcon(4));
    CHECK(form.TooltipOf(form.quickMenu.QmenuSelector) == L"History");

    SUBCASE("a real mouse move over an item raises the hover") {
        RECT icon;
        GetWindowRect(form.quickMenu.Qmenu[2], &icon);
        MapWindowPoints(nullptr, form.quickMenu.Qmenu[2], reinterpret_cast<POINT*>(&icon), 2);
        SendMessageW(form.quickMenu.Qmenu[2], WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        CHECK(form.quickMenu.HoveredIndex == 2);
        CHECK(form.TooltipOf(form.quickMenu.QmenuSelector) == L"About");
    }

    SUBCASE("clicking the raised button opens the item it covers") {
        HWND button = form.quickMenu.QmenuSelector;
        SendMessageW(form.quickMenu.OutlookBar(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        CHECK(IsWindowVisible(form.history.Window()));
        CHECK(VisiblePanels(form) == 1);
        CHECK_FALSE(IsWindowVisible(form.quickMenu.QmenuSelector));
        // Now the open item: hovering it again keeps the button hidden.
        form.quickMenu.Qmenu_MouseMove(4);
        CHECK_FALSE(IsWindowVisible(form.quickMenu.QmenuSelector));
    }
}

TEST_CASE("The timer hides the raised button once the cursor is well right of the strip") {
    MainForm form(xpv_test::WindowTestOptions());
    REQUIRE(form.Create());
    RECT frame;
    GetWindowRect(form.Window(), &frame);
    const int reach = form.Scale().ScaleDesignPixels(60);
    const RECT bar = [&] {
        RECT rect;
        GetWindowRect(form.quickMenu.OutlookBar(), &rect);
        return rect;
    }();

    struct CursorCase {
        int x;
        int y;
        bool stays;
    };
    const CursorCase cases[] = {
        {frame.left + reach, frame.top + 40, true},          // exactly at the reach
        {bar.right - 2, frame.bottom + 100, true},            // over the strip's width, below it
        {frame.left - 30, frame.top + 40, true},              // left of the window
        {frame.left + reach + 1, frame.top + 40, false},      // one pixel further
        {frame.left + 200, frame.top + 100, false},           // over the panel
    };
    for (const CursorCase& c : cases) {
        CAPTURE(c.x - frame.left);
        form.quickMenu.Qmenu_MouseMove(3);
        REQUIRE(IsWindowVisible(form.quickMenu.QmenuSelector));
        REQUIRE(SetCursorPos(c.x, c.y));
        form.quickMenu.tmrQuickMenu_Timer();
        CHECK(form.quickMenu.CursorPoint.x == c.x);
        CHECK((IsWindowVisible(form.quickMenu.QmenuSelector) != FALSE) == c.stays);
    }
    // The whole strip lies within the reach, at any DPI.
    CHECK(bar.right - frame.left <= reach);
}

TEST_CASE("The bottom of the strip shows caption and icon together until the first tick, then in turn") {
    MainForm form(xpv_test::WindowTestOptions());
    REQUIRE(form.Create());
    CHECK(IsWindowVisible(form.quickMenu.lblQMenuBottom));
    CHECK(IsWindowVisible(form.quickMenu.imgQMenuBottom));
    wchar_t caption[32] = {};
    GetWindowTextW(form.quickMenu.lblQMenuBottom, caption, 32);
    CHECK(std::wstring(caption) == L"XP Vestrim");

    bool captionShown = true;
    for (int tick = 0; tick < 4; ++tick) {
        form.quickMenu.tmrQuickMenu_Timer();
        captionShown = !captionShown;
        CHECK((IsWindowVisible(form.quickMenu.lblQMenuBottom) != FALSE) == captionShown);
        CHECK((IsWindowVisible(form.quickMenu.imgQMenuBottom) != FALSE) == !captionShown);
    }

    SUBCASE("the window's own timer drives it every half second") {
        const bool before = IsWindowVisible(form.quickMenu.lblQMenuBottom) != FALSE;
        // Waits up to ten ticks: this asks whether the window's timer blinks, not how punctually.
        const DWORD start = GetTickCount();
        while ((IsWindowVisible(form.quickMenu.lblQMenuBottom) != FALSE) == before && GetTickCount() - start < 5000) {
            DoEvents();
            Sleep(20);
        }
        CHECK((IsWindowVisible(form.quickMenu.lblQMenuBottom) != FALSE) != before);
    }
}

namespace {

// A key typed with Ctrl (and Shift) held, through the message queue as typed keys go.
void TypeWithModifiers(HWND control, WPARAM key, bool control_, bool shift) {
    BYTE saved[256], held[256];
    GetKeyboardState(saved);
    std::copy(std::begin(saved), std::end(saved), std::begin(held));
    held[VK_CONTROL] = control_ ? 0x80 : 0;
    held[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(held);
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, 0xC0000001);
    DoEvents();
    SetKeyboardState(saved);
}

}  // namespace

TEST_CASE("The keyboard goes through the Quick Menu: Ctrl+Tab down, Ctrl+Shift+Tab up, round; F1 opens the help") {
    MainForm form(xpv_test::WindowTestOptions());
    REQUIRE(form.Create());
    SetForegroundWindow(form.Window());
    REQUIRE(IsWindowVisible(form.vestrim.Window()));
    SetFocus(form.vestrim.cmdVestrim);

    SUBCASE("down the strip from the Vestrim panel and round to it, the focus following into each panel") {
        for (size_t step = 1; step <= std::size(kItems); ++step) {
            const Item& next = kItems[step % std::size(kItems)];
            CAPTURE(next.tooltip);
            TypeWithModifiers(GetFocus() ? GetFocus() : form.Window(), VK_TAB, true, false);
            CHECK(IsWindowVisible(next.panel(form)));
            CHECK(VisiblePanels(form) == 1);
            const HWND focus = GetFocus();
            CHECK((focus == form.Window() || IsChild(next.panel(form), focus)));
        }
    }
    SUBCASE("up the strip: from the top item to the bottom one") {
        TypeWithModifiers(form.vestrim.cmdVestrim, VK_TAB, true, true);
        CHECK(IsWindowVisible(form.about.Window()));
        CHECK(VisiblePanels(form) == 1);
        TypeWithModifiers(GetFocus(), VK_TAB, true, true);
        CHECK(IsWindowVisible(form.help.Window()));
    }
    SUBCASE("F1") {
        TypeWithModifiers(form.vestrim.cmdVestrim, VK_F1, false, false);
        CHECK(IsWindowVisible(form.help.Window()));
        CHECK(IsChild(form.help.Window(), GetFocus()));
    }
    SUBCASE("Tab alone still moves between the panel's own controls") {
        TypeWithModifiers(form.vestrim.cmdVestrim, VK_TAB, false, false);
        CHECK(IsWindowVisible(form.vestrim.Window()));
        CHECK(GetFocus() == form.vestrim.lstUnthemed.Handle());
    }
}
