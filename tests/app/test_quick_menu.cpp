#include <windows.h>
#include <commctrl.h>

#include "app/MainForm.h"
#include "app/MessagePump.h"
#include "support/PanelViews.h"
#include "support/TooltipText.h"
#include "support/WindowGeometry.h"
#include "support/WindowInput.h"
#include "support/WindowTestOptions.h"
#include "support/doctest_wide.h"

namespace {

struct Item {
    int top;
    const wchar_t* tooltip;
    HWND (*panel)(MainForm&);
};

template <class P>
HWND WindowOf(MainForm& form) {
    return MainForm::TestView{form}.Panel<P>().Window();
}

// From top to bottom of the strip.
const Item kItems[] = {
    {620, L"Vestrim", WindowOf<VestrimPanel>},   {1200, L"Turbo Vestrim", WindowOf<TurboPanel>},
    {1780, L"History", WindowOf<HistoryPanel>},  {2360, L"Settings", WindowOf<SettingsPanel>},
    {2940, L"Help", WindowOf<HelpPanel>},        {3520, L"About", WindowOf<AboutPanel>},
};
constexpr size_t kTurboItem = 1, kHistoryItem = 2, kAboutItem = 5;

// The form, its Quick Menu and the menu's controls.
struct Strip {
    MainForm form{xpv_test::WindowTestOptions()};
    QuickMenu::TestView menu{MainForm::TestView{form}.Menu()};
    ControlFactory& controls = MainForm::TestView{form}.Controls();

    Strip() { REQUIRE(form.Create()); }
    int TopOf(HWND control) const { return xpv_test::RectIn(control, form.QuickMenuStrip()).top; }
    int Pixels(int twips) const { return controls.Scale().ToPixels(twips); }
    HWND Selector() const { return menu.Control(QuickMenu::kQmenuSelector); }
    int VisiblePanels() {
        int visible = 0;
        for (size_t index = 0; index < kPanelCount; ++index) {
            visible += IsWindowVisible(MainForm::TestView{form}.PanelAt(index).Window()) ? 1 : 0;
        }
        return visible;
    }
};

}  // namespace

TEST_CASE("Each Quick Menu item stands at its place with its tooltip and opens its panel") {
    Strip strip;
    wchar_t caption[32] = {};
    GetWindowTextW(strip.menu.Control(QuickMenu::kLblQMenuTop), caption, 32);
    CHECK(std::wstring(caption) == L" Quick Menu");
    CHECK(strip.controls.TooltipOf(strip.menu.Control(QuickMenu::kImgQMenuBottom)) == L"Patient Information Sheet");
    // The tooltip window, made once the window shows, knows the texts given before it.
    const HWND tooltips = xpv_test::TooltipWindowOf(strip.form.Window());
    REQUIRE(tooltips != nullptr);
    CHECK(xpv_test::ToolText(tooltips, strip.menu.Control(QuickMenu::kImgQMenuBottom)) == L"Patient Information Sheet");

    for (size_t index = 0; index < std::size(kItems); ++index) {
        const Item& item = kItems[index];
        CAPTURE(index);
        HWND icon = strip.menu.Item(index);
        CHECK(strip.TopOf(icon) == strip.Pixels(item.top));
        CHECK(strip.controls.TooltipOf(icon) == item.tooltip);
        CHECK(xpv_test::ToolText(tooltips, icon) == item.tooltip);
        CHECK(strip.menu.Icon(index) != nullptr);

        // A real click on the item, as the strip reports it.
        SendMessageW(strip.form.QuickMenuStrip(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(icon), STN_CLICKED),
                     reinterpret_cast<LPARAM>(icon));
        CHECK(IsWindowVisible(item.panel(strip.form)));
        CHECK(strip.VisiblePanels() == 1);
        CHECK(strip.menu.SelectedTop() == item.top - 80);
        CHECK(strip.TopOf(strip.menu.Control(QuickMenu::kQmenuSelected)) == strip.Pixels(item.top - 80));
        CHECK_FALSE(IsWindowVisible(strip.Selector()));
    }

    SUBCASE("an index that names no item hides every panel") {
        strip.menu.Click(9);
        CHECK(strip.VisiblePanels() == 0);
    }
}

TEST_CASE("The raised button follows the hovered item, never over the open one") {
    Strip strip;
    REQUIRE(strip.menu.SelectedTop() == 620 - 80);  // Vestrim is open after start-up

    strip.menu.MouseMove(0);
    CHECK(strip.menu.HoveredIndex() == 0);
    CHECK_FALSE(IsWindowVisible(strip.Selector()));

    strip.menu.MouseMove(kHistoryItem);
    CHECK(IsWindowVisible(strip.Selector()));
    CHECK(strip.menu.SelectorTop() == 1780 - 80);
    CHECK(strip.TopOf(strip.Selector()) == strip.Pixels(1780 - 80));
    CHECK(strip.menu.SelectorIcon() == strip.menu.Icon(kHistoryItem));
    CHECK(strip.controls.TooltipOf(strip.Selector()) == L"History");

    SUBCASE("a real mouse move over an item raises the hover") {
        SendMessageW(strip.menu.Item(kAboutItem), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        CHECK(strip.menu.HoveredIndex() == kAboutItem);
        CHECK(strip.controls.TooltipOf(strip.Selector()) == L"About");
    }

    SUBCASE("clicking the raised button opens the item it covers") {
        HWND button = strip.Selector();
        SendMessageW(strip.form.QuickMenuStrip(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        CHECK(IsWindowVisible(WindowOf<HistoryPanel>(strip.form)));
        CHECK(strip.VisiblePanels() == 1);
        CHECK_FALSE(IsWindowVisible(strip.Selector()));
        // Now the open item: hovering it again keeps the button hidden.
        strip.menu.MouseMove(kHistoryItem);
        CHECK_FALSE(IsWindowVisible(strip.Selector()));
    }
}

TEST_CASE("The timer hides the raised button once the cursor is well right of the strip") {
    Strip strip;
    RECT frame;
    GetWindowRect(strip.form.Window(), &frame);
    const int reach = strip.controls.Scale().ScaleDesignPixels(60);
    const RECT bar = [&] {
        RECT rect;
        GetWindowRect(strip.form.QuickMenuStrip(), &rect);
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
        strip.menu.MouseMove(kTurboItem);
        REQUIRE(IsWindowVisible(strip.Selector()));
        REQUIRE(SetCursorPos(c.x, c.y));
        strip.menu.Timer();
        CHECK(strip.menu.CursorPoint().x == c.x);
        CHECK((IsWindowVisible(strip.Selector()) != FALSE) == c.stays);
    }
    // The whole strip lies within the reach, at any DPI.
    CHECK(bar.right - frame.left <= reach);
}

TEST_CASE("The bottom of the strip shows caption and icon together until the first tick, then in turn") {
    Strip strip;
    const HWND caption = strip.menu.Control(QuickMenu::kLblQMenuBottom);
    const HWND image = strip.menu.Control(QuickMenu::kImgQMenuBottom);
    CHECK(IsWindowVisible(caption));
    CHECK(IsWindowVisible(image));
    wchar_t text[32] = {};
    GetWindowTextW(caption, text, 32);
    CHECK(std::wstring(text) == L"XP Vestrim");

    bool captionShown = true;
    for (int tick = 0; tick < 4; ++tick) {
        strip.menu.Timer();
        captionShown = !captionShown;
        CHECK((IsWindowVisible(caption) != FALSE) == captionShown);
        CHECK((IsWindowVisible(image) != FALSE) == !captionShown);
    }

    SUBCASE("the window's own timer drives it every half second") {
        const bool before = IsWindowVisible(caption) != FALSE;
        // Waits up to ten ticks: this asks whether the window's timer blinks, not how punctually.
        const DWORD start = GetTickCount();
        while ((IsWindowVisible(caption) != FALSE) == before && GetTickCount() - start < 5000) {
            DoEvents();
            Sleep(20);
        }
        CHECK((IsWindowVisible(caption) != FALSE) != before);
    }
}

TEST_CASE("The keyboard goes through the Quick Menu: Ctrl+Tab down, Ctrl+Shift+Tab up, round; F1 opens the help") {
    MainForm form(xpv_test::WindowTestOptions());
    REQUIRE(form.Create());
    SetForegroundWindow(form.Window());
    const HWND vestrim = WindowOf<VestrimPanel>(form);
    REQUIRE(IsWindowVisible(vestrim));
    const HWND button = GetDlgItem(vestrim, VestrimPanel::kCmdVestrim);
    SetFocus(button);
    const auto visiblePanels = [&form] {
        int visible = 0;
        for (const Item& item : kItems) visible += IsWindowVisible(item.panel(form)) ? 1 : 0;
        return visible;
    };

    SUBCASE("down the strip from the Vestrim panel and round to it, the focus following into each panel") {
        for (size_t step = 1; step <= std::size(kItems); ++step) {
            const Item& next = kItems[step % std::size(kItems)];
            CAPTURE(next.tooltip);
            xpv_test::TypeWithModifiers(GetFocus() ? GetFocus() : form.Window(), VK_TAB, true, false);
            CHECK(IsWindowVisible(next.panel(form)));
            CHECK(visiblePanels() == 1);
            const HWND focus = GetFocus();
            CHECK((focus == form.Window() || IsChild(next.panel(form), focus)));
        }
    }
    SUBCASE("up the strip: from the top item to the bottom one") {
        xpv_test::TypeWithModifiers(button, VK_TAB, true, true);
        CHECK(IsWindowVisible(WindowOf<AboutPanel>(form)));
        CHECK(visiblePanels() == 1);
        xpv_test::TypeWithModifiers(GetFocus(), VK_TAB, true, true);
        CHECK(IsWindowVisible(WindowOf<HelpPanel>(form)));
    }
    SUBCASE("F1") {
        xpv_test::TypeWithModifiers(button, VK_F1, false, false);
        CHECK(IsWindowVisible(WindowOf<HelpPanel>(form)));
        CHECK(IsChild(WindowOf<HelpPanel>(form), GetFocus()));
    }
    SUBCASE("Tab alone still moves between the panel's own controls") {
        xpv_test::TypeWithModifiers(button, VK_TAB, false, false);
        CHECK(IsWindowVisible(vestrim));
        CHECK(GetFocus() == GetDlgItem(vestrim, VestrimPanel::kLstUnthemed));
    }
}

TEST_CASE("The window starts with the focus on the first control of the panel it opens with, shown or not") {
    for (const bool shown : {false, true}) {
        CAPTURE(shown);
        MainForm::Options options = xpv_test::WindowTestOptions();
        options.show = shown;
        MainForm form{options};
        REQUIRE(form.Create());
        const HWND vestrim = WindowOf<VestrimPanel>(form);
        CHECK(IsWindowVisible(form.Window()) == (shown ? TRUE : FALSE));
        CHECK(GetFocus() == GetDlgItem(vestrim, VestrimPanel::kCmdVestrim));
    }
}
