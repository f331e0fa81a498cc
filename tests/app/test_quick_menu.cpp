#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "app/MainForm.h"
#include "app/MessagePump.h"
#include "app/StripLayout.h"
#include "support/AccessibleName.h"
#include "support/PanelViews.h"
#include "support/TooltipText.h"
#include "support/WindowGeometry.h"
#include "support/WindowInput.h"
#include "support/WindowTestOptions.h"
#include "support/doctest_wide.h"

namespace {

template <class P>
HWND WindowOf(MainForm& form) {
    return MainForm::TestView{form}.Panel<P>().Window();
}

const StripLayout kLayout(kPanelCount);

// The form, its Quick Menu and the menu's controls.
struct Strip {
    MainForm form{xpv_test::WindowTestOptions()};
    QuickMenu::TestView menu{MainForm::TestView{form}.Menu()};
    ControlFactory& controls = MainForm::TestView{form}.Controls();

    Strip() { REQUIRE(form.Create()); }
    RECT PixelsOf(const TwipRect& rect) const {
        return controls.Scale().Rect(rect.left, rect.top, rect.width, rect.height);
    }
    RECT RectOf(HWND control) const { return xpv_test::RectIn(control, form.QuickMenuStrip()); }
    HWND Selector() const { return menu.Control(QuickMenu::kQmenuSelector); }
    HWND Frame() const { return menu.Control(QuickMenu::kQmenuSelected); }
    int VisiblePanels() {
        int visible = 0;
        for (size_t index = 0; index < kPanelCount; ++index) {
            visible += IsWindowVisible(MainForm::TestView{form}.PanelAt(index).Window()) ? 1 : 0;
        }
        return visible;
    }
};

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

int Bottom(const TwipRect& rect) { return rect.top + rect.height; }

}  // namespace

TEST_CASE("The strip's layout: six items where they always stood; up to eight fit without covering each other") {
    SUBCASE("six items: 620 twips down, 580 apart, with 32-pixel icons") {
        const StripLayout six(6);
        for (size_t index = 0; index < 6; ++index) {
            CAPTURE(index);
            const int top = 620 + 580 * static_cast<int>(index);
            const TwipRect icon = six.Icon(index), frame = six.Frame(index), selector = six.Selector(index);
            CHECK((icon.left == 120 && icon.top == top && icon.width == 480 && icon.height == 480));
            CHECK((frame.left == 0 && frame.top == top - 80 && frame.width == 780 && frame.height == 615));
            CHECK((selector.left == 0 && selector.top == top - 80 && selector.width == 780 && selector.height == 595));
        }
    }
    SUBCASE("any count") {
        for (size_t count = 1; count <= StripLayout::kMostItems; ++count) {
            CAPTURE(count);
            const StripLayout layout(count);
            for (size_t index = 0; index < count; ++index) {
                CAPTURE(index);
                const TwipRect icon = layout.Icon(index);
                CHECK(icon.width == icon.height);
                CHECK(icon.width >= 360);  // 24 pixels: still a picture one knows again
                CHECK(icon.width <= 480);
                CHECK(icon.left + icon.width / 2 == 360);  // on one line down the strip
                for (const TwipRect& around : {layout.Frame(index), layout.Selector(index)}) {
                    // Around its own icon, under the caption, above the bottom picture.
                    CHECK(around.top >= StripLayout::kCaptionBottom);
                    CHECK(Bottom(around) <= StripLayout::kBottomPictureTop);
                    CHECK(around.top < icon.top);
                    CHECK(Bottom(around) > Bottom(icon));
                    CHECK(around.left + around.width <= 855);
                    // Clear of the neighbours' icons.
                    if (index > 0) CHECK(around.top >= Bottom(layout.Icon(index - 1)));
                    if (index + 1 < count) CHECK(Bottom(around) <= layout.Icon(index + 1).top);
                }
                if (index + 1 < count) CHECK(Bottom(icon) < layout.Icon(index + 1).top);
            }
        }
    }
}

TEST_CASE("The panel table holds the six panels in their order down the strip, named as their items") {
    struct Named {
        size_t row;
        const wchar_t* tooltip;
    };
    const Named named[] = {
        {PanelIndex<VestrimPanel>(), L"Vestrim"},   {PanelIndex<TurboPanel>(), L"Turbo Vestrim"},
        {PanelIndex<HistoryPanel>(), L"History"},   {PanelIndex<SettingsPanel>(), L"Settings"},
        {PanelIndex<HelpPanel>(), L"Help"},         {PanelIndex<AboutPanel>(), L"About"},
    };
    CHECK(PanelIndex<VestrimPanel>() == 0);  // the window opens with it
    for (size_t i = 0; i < std::size(named); ++i) {
        CAPTURE(i);
        CHECK(std::wstring(kPanels[named[i].row].tooltip) == named[i].tooltip);
        if (i > 0) CHECK(named[i - 1].row < named[i].row);
    }
}

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
    CHECK(SameRect(strip.RectOf(strip.menu.Control(QuickMenu::kImgQMenuBottom)), strip.PixelsOf({120, 4080, 480, 480})));

    for (size_t index = 0; index < kPanelCount; ++index) {
        CAPTURE(index);
        const std::wstring tooltip = kPanels[index].tooltip;
        HWND icon = strip.menu.Item(index);
        CHECK(SameRect(strip.RectOf(icon), strip.PixelsOf(kLayout.Icon(index))));
        CHECK(strip.controls.TooltipOf(icon) == tooltip);
        CHECK(xpv_test::ToolText(tooltips, icon) == tooltip);
        CHECK(strip.menu.Icon(index) != nullptr);
        CHECK(reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0)) == strip.menu.Icon(index));

        // A real click on the item, as the strip reports it.
        SendMessageW(strip.form.QuickMenuStrip(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(icon), STN_CLICKED),
                     reinterpret_cast<LPARAM>(icon));
        CHECK(IsWindowVisible(MainForm::TestView{strip.form}.PanelAt(index).Window()));
        CHECK(strip.VisiblePanels() == 1);
        CHECK(strip.menu.OpenIndex() == index);
        CHECK(SameRect(strip.RectOf(strip.Frame()), strip.PixelsOf(kLayout.Frame(index))));
        CHECK_FALSE(IsWindowVisible(strip.Selector()));
    }

    SUBCASE("an index that names no item hides every panel and leaves the frame on the open item") {
        const RECT frame = strip.RectOf(strip.Frame());
        strip.menu.Click(9);
        CHECK(strip.VisiblePanels() == 0);
        CHECK(strip.menu.OpenIndex() == kPanelCount - 1);
        CHECK(SameRect(strip.RectOf(strip.Frame()), frame));
    }
}

TEST_CASE("The raised button follows the hovered item, never over the open one") {
    Strip strip;
    REQUIRE(strip.menu.OpenIndex() == 0);  // Vestrim is open after start-up
    const size_t history = PanelIndex<HistoryPanel>(), about = PanelIndex<AboutPanel>();

    strip.menu.MouseMove(0);
    CHECK(strip.menu.HoveredIndex() == 0);
    CHECK_FALSE(IsWindowVisible(strip.Selector()));

    strip.menu.MouseMove(history);
    CHECK(IsWindowVisible(strip.Selector()));
    CHECK(SameRect(strip.RectOf(strip.Selector()), strip.PixelsOf(kLayout.Selector(history))));
    CHECK(strip.menu.SelectorIcon() == strip.menu.Icon(history));
    CHECK(strip.controls.TooltipOf(strip.Selector()) == L"History");

    SUBCASE("a real mouse move over an item raises the hover") {
        SendMessageW(strip.menu.Item(about), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        CHECK(strip.menu.HoveredIndex() == about);
        CHECK(strip.controls.TooltipOf(strip.Selector()) == L"About");
    }

    SUBCASE("clicking the raised button opens the item it covers") {
        HWND button = strip.Selector();
        SendMessageW(strip.form.QuickMenuStrip(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        CHECK(IsWindowVisible(WindowOf<HistoryPanel>(strip.form)));
        CHECK(strip.menu.OpenIndex() == history);
        CHECK(strip.VisiblePanels() == 1);
        CHECK_FALSE(IsWindowVisible(strip.Selector()));
        // Now the open item: hovering it again keeps the button hidden, hovering the first shows it.
        strip.menu.MouseMove(history);
        CHECK_FALSE(IsWindowVisible(strip.Selector()));
        strip.menu.MouseMove(0);
        CHECK(IsWindowVisible(strip.Selector()));
    }
}

TEST_CASE("A screen reader finds a name on every item of the strip, the raised button and the panels") {
    Strip strip;
    const auto nameOf = [](HWND control) { return xpv_test::AccessibleName(control).value_or(L"(no name)"); };

    for (size_t index = 0; index < kPanelCount; ++index) {
        CAPTURE(index);
        const std::wstring tooltip = kPanels[index].tooltip;
        const HWND item = strip.menu.Item(index);
        CHECK(nameOf(item) == tooltip);
        // The picture keeps its icon: its window text is not an icon's resource name.
        CHECK(reinterpret_cast<HICON>(SendMessageW(item, STM_GETICON, 0, 0)) == strip.menu.Icon(index));

        strip.menu.MouseMove(index);
        CHECK(nameOf(strip.Selector()) == tooltip);

        strip.menu.Click(index);
        CHECK(nameOf(MainForm::TestView{strip.form}.PanelAt(index).Window()) == tooltip);
    }
    const HWND bottom = strip.menu.Control(QuickMenu::kImgQMenuBottom);
    CHECK(nameOf(bottom) == L"Patient Information Sheet");
    CHECK(SendMessageW(bottom, STM_GETICON, 0, 0) != 0);

    SUBCASE("the names read whole or cut to the reader's buffer, as any window text") {
        const HWND vestrim = strip.menu.Item(PanelIndex<VestrimPanel>());
        struct Read {
            int buffer;
            const wchar_t* text;
            int length;
        };
        const Read reads[] = {{32, L"Vestrim", 7}, {8, L"Vestrim", 7}, {4, L"Ves", 3}, {1, L"", 0}};
        CHECK(GetWindowTextLengthW(vestrim) == 7);
        for (const Read& read : reads) {
            CAPTURE(read.buffer);
            wchar_t text[32];
            std::fill(std::begin(text), std::end(text), L'#');
            CHECK(GetWindowTextW(vestrim, text, read.buffer) == read.length);
            CHECK(std::wstring(text) == read.text);
        }
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
        strip.menu.MouseMove(PanelIndex<TurboPanel>());
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
    const MainForm::TestView view{form};
    const auto visiblePanels = [&view] {
        int visible = 0;
        for (size_t index = 0; index < kPanelCount; ++index) visible += IsWindowVisible(view.PanelAt(index).Window()) ? 1 : 0;
        return visible;
    };

    SUBCASE("down the strip from the Vestrim panel and round to it, the focus following into each panel") {
        for (size_t step = 1; step <= kPanelCount; ++step) {
            const size_t next = step % kPanelCount;
            CAPTURE(next);
            xpv_test::TypeWithModifiers(GetFocus() ? GetFocus() : form.Window(), VK_TAB, true, false);
            const HWND panel = view.PanelAt(next).Window();
            CHECK(IsWindowVisible(panel));
            CHECK(visiblePanels() == 1);
            const HWND focus = GetFocus();
            CHECK((focus == form.Window() || IsChild(panel, focus)));
        }
    }
    SUBCASE("up the strip: from the top item to the bottom one") {
        xpv_test::TypeWithModifiers(button, VK_TAB, true, true);
        CHECK(IsWindowVisible(view.PanelAt(kPanelCount - 1).Window()));
        CHECK(visiblePanels() == 1);
        if (kPanelCount > 1) {
            xpv_test::TypeWithModifiers(GetFocus(), VK_TAB, true, true);
            CHECK(IsWindowVisible(view.PanelAt(kPanelCount - 2).Window()));
        }
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
