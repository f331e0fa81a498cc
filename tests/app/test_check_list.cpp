#include <windows.h>

#include <string>
#include <vector>

#include "app/CheckList.h"
#include "support/doctest_wide.h"

namespace {

// A plain top-level window that hands the list's notifications back to it, as the panels do.
struct Host {
    static inline CheckList* list = nullptr;
    HWND window = nullptr;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (list && message == WM_DRAWITEM) {
            list->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        if (list && message == WM_COMMAND && reinterpret_cast<HWND>(lParam) == list->Handle()) {
            list->Command(HIWORD(wParam));
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    explicit Host(CheckList& checkList, bool sorted) {
        list = &checkList;
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"CheckListHost";
        RegisterClassW(&windowClass);
        window = CreateWindowW(L"CheckListHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        REQUIRE(window);
        CheckList::Style style;
        style.sorted = sorted;
        checkList.Create(window, 7, RECT{10, 10, 210, 210}, style,
                         static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), 96);
    }
    ~Host() {
        DestroyWindow(window);
        list = nullptr;
    }
};

std::vector<std::wstring> Texts(const CheckList& list) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < list.Count(); ++i) texts.push_back(list.Text(i));
    return texts;
}

LPARAM PointIn(const CheckList& list, int index, int x) {
    RECT item;
    SendMessageW(list.Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    return MAKELPARAM(item.left + x, (item.top + item.bottom) / 2);
}

void ClickAt(const CheckList& list, LPARAM point) {
    SendMessageW(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(list.Handle(), WM_LBUTTONUP, 0, point);
}

}  // namespace

TEST_CASE("Items keep their order, or the sorted order with letter case ignored") {
    for (bool sorted : {false, true}) {
        CAPTURE(sorted);
        CheckList list;
        Host host(list, sorted);
        for (const wchar_t* text : {L"delta", L"Bravo", L"alpha", L"Charlie"}) list.Add(text);
        list.AddMany({L"echo", L"ALPHA two"});
        const std::vector<std::wstring> expected =
            sorted ? std::vector<std::wstring>{L"alpha", L"ALPHA two", L"Bravo", L"Charlie", L"delta", L"echo"}
                   : std::vector<std::wstring>{L"delta", L"Bravo", L"alpha", L"Charlie", L"echo", L"ALPHA two"};
        CHECK(Texts(list) == expected);
        CHECK(SendMessageW(list.Handle(), LB_GETCOUNT, 0, 0) == 6);
        for (int i = 0; i < list.Count(); ++i) CHECK_FALSE(list.IsTicked(i));
    }
}

TEST_CASE("The current item follows inserts and removals; only a change raises Click") {
    CheckList list;
    Host host(list, true);
    int clicks = 0;
    list.onClick = [&] { ++clicks; };
    list.AddMany({L"b", L"d", L"f"});
    CHECK(list.Current() == -1);
    list.SetCurrent(1);  // "d"
    CHECK(clicks == 1);
    list.SetCurrent(1);
    CHECK(clicks == 1);  // already current: nothing raised

    list.Add(L"a");  // before the current item
    CHECK(list.Text(list.Current()) == L"d");
    list.AddMany({L"c", L"z"});
    CHECK(list.Text(list.Current()) == L"d");
    list.SetTicked(3, true);  // "d"
    list.RemoveAt(0);
    CHECK(list.Text(list.Current()) == L"d");
    CHECK(list.IsTicked(list.Current()));
    list.RemoveAt(list.Current());
    CHECK(list.Current() == -1);
    CHECK(clicks == 1);  // moves made by the list itself raise nothing
    CHECK(Texts(list) == std::vector<std::wstring>{L"b", L"c", L"f", L"z"});
}

TEST_CASE("A click on the box toggles the tick; a click on the text only makes the item current") {
    CheckList list;
    Host host(list, false);
    list.AddMany({L"one", L"two", L"three"});
    std::vector<int> toggled;
    int clicks = 0;
    list.onItemCheck = [&](int index) { toggled.push_back(index); };
    list.onClick = [&] { ++clicks; };

    ClickAt(list, PointIn(list, 1, 60));  // on the text
    CHECK(list.Current() == 1);
    CHECK_FALSE(list.IsTicked(1));
    CHECK(clicks == 1);

    ClickAt(list, PointIn(list, 1, 4));  // on the box of the current item
    CHECK(list.IsTicked(1));
    CHECK(clicks == 1);
    ClickAt(list, PointIn(list, 2, 4));  // on the box of another item: ticks it and makes it current
    CHECK(list.IsTicked(2));
    CHECK(list.Current() == 2);
    CHECK(clicks == 2);
    CHECK(toggled == std::vector<int>{1, 2});

    SUBCASE("the space bar toggles the current item") {
        SendMessageW(list.Handle(), WM_CHAR, L' ', 0);
        CHECK_FALSE(list.IsTicked(2));
        SendMessageW(list.Handle(), WM_CHAR, L' ', 0);
        CHECK(list.IsTicked(2));
    }
    SUBCASE("a letter makes the next item starting with it current, and is passed on") {
        std::wstring pressed;
        list.onKeyPress = [&](wchar_t key) { pressed += key; };
        SendMessageW(list.Handle(), WM_CHAR, L'O', 0);
        CHECK(list.Current() == 0);
        SendMessageW(list.Handle(), WM_CHAR, L't', 0);
        CHECK(list.Current() == 1);
        CHECK(pressed == L"Ot");
    }
    SUBCASE("all ticked, all cleared") {
        list.SetAllTicked(true);
        for (int i = 0; i < 3; ++i) CHECK(list.IsTicked(i));
        list.SetAllTicked(false);
        for (int i = 0; i < 3; ++i) CHECK_FALSE(list.IsTicked(i));
    }
}

TEST_CASE("The horizontal extent is honoured") {
    CheckList list;
    Host host(list, false);
    list.SetHorizontalExtent(900);
    CHECK(list.HorizontalExtent() == 900);
    list.Add(L"an item");
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof(scroll);
    scroll.fMask = SIF_RANGE;
    REQUIRE(GetScrollInfo(list.Handle(), SB_HORZ, &scroll));
    CHECK(scroll.nMax >= 899);
}
