#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "app/CheckList.h"
#include "platform/UniqueHandle.h"
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

// What a reader meets: plain, accented, CJK and astral text, an empty item, and one longer than
// the messages tell.
const std::vector<std::wstring> kReadableItems{L"alpha.exe", L"h\u00e9llo \u65e5\u672c \U0001F600.exe", L"",
                                               std::wstring(600, L'x') + L".exe"};
constexpr size_t kLongestTold = 511;
constexpr size_t kGuard = 8;

std::wstring Told(const std::wstring& text) { return text.substr(0, kLongestTold); }

std::string InAnsiCodePage(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), ansi.data(), size, nullptr,
                        nullptr);
    return ansi;
}

// Reads an item as another program does: LB_GETTEXTLEN sizes the buffer, LB_GETTEXT fills it. The
// buffer is filled with '#' and has room to spare, so the result shows any overrun past the
// terminating zero.
std::wstring ReadText(HWND list, WPARAM index) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    REQUIRE(length >= 0);
    std::wstring buffer(static_cast<size_t>(length) + 1 + kGuard, L'#');
    CHECK(SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer.data())) == length);
    return buffer;
}

// The same with the ANSI messages; twice the room, in case Unicode text lands in the buffer.
std::string ReadAnsiText(HWND list, WPARAM index) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
    REQUIRE(length >= 0);
    std::string buffer(2 * (static_cast<size_t>(length) + 1) + kGuard, '#');
    CHECK(SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer.data())) == length);
    return buffer.substr(0, static_cast<size_t>(length) + 1 + kGuard);
}

std::wstring AsRead(const std::wstring& text) { return text + L'\0' + std::wstring(kGuard, L'#'); }
std::string AsRead(const std::string& text) { return text + '\0' + std::string(kGuard, '#'); }

std::vector<std::wstring> MessageTexts(HWND list) {
    std::vector<std::wstring> texts;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text = ReadText(list, static_cast<WPARAM>(i));
        text.resize(std::wcslen(text.c_str()));
        texts.push_back(text);
    }
    return texts;
}

std::vector<int> SelectedItems(HWND list, int room) {
    std::vector<int> indices(static_cast<size_t>(room), -7);
    const LRESULT written =
        SendMessageW(list, LB_GETSELITEMS, room, reinterpret_cast<LPARAM>(indices.data()));
    REQUIRE(written >= 0);
    indices.resize(static_cast<size_t>(written));
    return indices;
}

// Counts the messages that reach one window through this thread (sent from here, from another
// thread or from another program) while it lives.
class SentMessages {
public:
    explicit SentMessages(HWND window) {
        target_ = window;
        counts_.clear();
        hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Record, nullptr, GetCurrentThreadId());
        REQUIRE(hook_);
    }
    ~SentMessages() {
        UnhookWindowsHookEx(hook_);
        target_ = nullptr;
    }
    SentMessages(const SentMessages&) = delete;
    SentMessages& operator=(const SentMessages&) = delete;

    int Of(UINT message) const { return counts_.count(message) ? counts_.at(message) : 0; }
    int Total() const {
        int total = 0;
        for (const auto& [message, count] : counts_) total += count;
        return total;
    }

private:
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && sent->hwnd == target_) ++counts_[sent->message];
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline HWND target_ = nullptr;
    static inline std::map<UINT, int> counts_;
    HHOOK hook_ = nullptr;
};

// The list answers another program only while its thread takes messages.
bool ServeMessagesUntilExit(HANDLE process, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return false;
        const DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, milliseconds - elapsed, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) return true;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
}

// The other program is this test program started again to run only the reader case, which finds
// the list through this variable.
constexpr wchar_t kListWindowVariable[] = L"XPV_CHECK_LIST_WINDOW";
const std::vector<int> kReaderTicks{1, 3};
constexpr int kReaderCurrent = 2;

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
        CHECK(MessageTexts(list.Handle()) == expected);
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
    CHECK(MessageTexts(list.Handle()) == Texts(list));
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

TEST_CASE("A click on a tick box beyond the 65,536th item ticks the item clicked") {
    CheckList list;
    Host host(list, false);
    constexpr int kCount = 70000;
    std::vector<std::wstring> texts;
    for (int i = 0; i < kCount; ++i) texts.push_back(L"program" + std::to_wstring(i) + L".exe");
    list.AddMany(texts);
    std::vector<int> toggled;
    list.onItemCheck = [&](int index) { toggled.push_back(index); };

    // Each row is scrolled into view, as the scroll bar does, and clicked where its box shows.
    const int rows[] = {65536, 65541, kCount - 1};
    for (const int row : rows) {
        CAPTURE(row);
        SendMessageW(list.Handle(), LB_SETTOPINDEX, row - 1, 0);
        RECT client, item;
        GetClientRect(list.Handle(), &client);
        REQUIRE(SendMessageW(list.Handle(), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item)) != LB_ERR);
        REQUIRE(item.bottom <= client.bottom);
        ClickAt(list, PointIn(list, row, 4));
        CHECK(list.IsTicked(row));
        CHECK_FALSE(list.IsTicked(row - 65536));
        CHECK(list.Current() == row);
        // A click on the text makes the row current and leaves its tick alone.
        ClickAt(list, PointIn(list, row - 1, 60));
        CHECK(list.Current() == row - 1);
        CHECK_FALSE(list.IsTicked(row - 1));
    }
    CHECK(toggled == std::vector<int>(std::begin(rows), std::end(rows)));
    CHECK(SendMessageW(list.Handle(), LB_GETSELCOUNT, 0, 0) == 3);
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

TEST_CASE("Other programs read the items' texts, in Unicode and in the ANSI code page") {
    CheckList list;
    Host host(list, false);
    const HWND window = list.Handle();
    CHECK(SendMessageW(window, LB_GETTEXTLEN, 0, 0) == LB_ERR);  // no items yet
    list.AddMany(kReadableItems);
    REQUIRE(SendMessageW(window, LB_GETCOUNT, 0, 0) == static_cast<LRESULT>(kReadableItems.size()));

    for (size_t i = 0; i < kReadableItems.size(); ++i) {
        CAPTURE(i);
        const std::wstring told = Told(kReadableItems[i]);
        CHECK(SendMessageW(window, LB_GETTEXTLEN, i, 0) == static_cast<LRESULT>(told.size()));
        CHECK(ReadText(window, i) == AsRead(told));
        const std::string ansi = InAnsiCodePage(told);
        CHECK(SendMessageA(window, LB_GETTEXTLEN, i, 0) == static_cast<LRESULT>(ansi.size()));
        CHECK(ReadAnsiText(window, i) == AsRead(ansi));
    }
    CHECK(SendMessageW(window, LB_GETTEXT, 0, 0) == 9);  // no buffer: the length

    const WPARAM outOfRange[] = {kReadableItems.size(), kReadableItems.size() + 10, static_cast<WPARAM>(-1)};
    for (const WPARAM index : outOfRange) {
        CAPTURE(static_cast<long long>(index));
        wchar_t buffer[4] = L"###";
        char ansiBuffer[4] = "###";
        CHECK(SendMessageW(window, LB_GETTEXTLEN, index, 0) == LB_ERR);
        CHECK(SendMessageA(window, LB_GETTEXTLEN, index, 0) == LB_ERR);
        CHECK(SendMessageW(window, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer)) == LB_ERR);
        CHECK(SendMessageA(window, LB_GETTEXT, index, reinterpret_cast<LPARAM>(ansiBuffer)) == LB_ERR);
        CHECK(std::wstring(buffer) == L"###");
        CHECK(std::string(ansiBuffer) == "###");
        CHECK(SendMessageW(window, LB_GETSEL, index, 0) == LB_ERR);
    }

    list.Clear();
    CHECK(SendMessageW(window, LB_GETCOUNT, 0, 0) == 0);
    CHECK(SendMessageW(window, LB_GETTEXTLEN, 0, 0) == LB_ERR);
}

TEST_CASE("Other programs see the ticked items as the selection and the current item as the cursor") {
    CheckList list;
    Host host(list, false);
    const HWND window = list.Handle();
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    CHECK((style & LBS_HASSTRINGS) != 0);
    CHECK((style & LBS_MULTIPLESEL) != 0);
    CHECK(SendMessageW(window, LB_GETCURSEL, 0, 0) == LB_ERR);
    CHECK(SendMessageW(window, LB_GETSELCOUNT, 0, 0) == 0);

    list.AddMany({L"a", L"b", L"c", L"d", L"e"});
    CHECK(SendMessageW(window, LB_GETCURSEL, 0, 0) == LB_ERR);  // items, but none current yet
    list.SetTicked(1, true);
    list.SetTicked(3, true);
    list.SetCurrent(2);
    CHECK(SendMessageW(window, LB_GETSEL, 2, 0) == 0);  // current, not ticked: not selected
    ClickAt(list, PointIn(list, 4, 4));                 // the user ticks "e", which becomes current

    std::vector<LRESULT> selection;
    for (int i = 0; i < 5; ++i) selection.push_back(SendMessageW(window, LB_GETSEL, i, 0));
    CHECK(selection == std::vector<LRESULT>{0, 1, 0, 1, 1});
    CHECK(SendMessageW(window, LB_GETSELCOUNT, 0, 0) == 3);
    CHECK(SelectedItems(window, 5) == std::vector<int>{1, 3, 4});
    int room[3] = {-7, -7, -7};
    CHECK(SendMessageW(window, LB_GETSELITEMS, 2, reinterpret_cast<LPARAM>(room)) == 2);
    CHECK(std::vector<int>(room, room + 3) == std::vector<int>{1, 3, -7});  // nothing past the room given
    CHECK(SendMessageW(window, LB_GETSELITEMS, 5, 0) == LB_ERR);
    CHECK(SendMessageW(window, LB_GETCURSEL, 0, 0) == 4);
    CHECK(SendMessageW(window, LB_GETCARETINDEX, 0, 0) == 4);

    list.SetAllTicked(false);
    CHECK(SendMessageW(window, LB_GETSELCOUNT, 0, 0) == 0);
    CHECK(SelectedItems(window, 5).empty());
}

TEST_CASE("Reader in another program" * doctest::skip()) {
    wchar_t value[32] = {};
    REQUIRE(GetEnvironmentVariableW(kListWindowVariable, value, 32) > 0);
    const auto window = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(value, nullptr, 10)));
    REQUIRE(SendMessageW(window, LB_GETCOUNT, 0, 0) == static_cast<LRESULT>(kReadableItems.size()));
    for (size_t i = 0; i < kReadableItems.size(); ++i) {
        CAPTURE(i);
        CHECK(ReadText(window, i) == AsRead(Told(kReadableItems[i])));
        const bool ticked = std::count(kReaderTicks.begin(), kReaderTicks.end(), static_cast<int>(i)) != 0;
        CHECK(SendMessageW(window, LB_GETSEL, i, 0) == (ticked ? 1 : 0));
    }
    CHECK(SendMessageW(window, LB_GETTEXTLEN, kReadableItems.size(), 0) == LB_ERR);
    CHECK(SelectedItems(window, 4) == kReaderTicks);
    CHECK(SendMessageW(window, LB_GETCURSEL, 0, 0) == kReaderCurrent);
}

TEST_CASE("Another program reads the texts, the ticks and the current item") {
    CheckList list;
    Host host(list, false);
    list.AddMany(kReadableItems);
    for (const int index : kReaderTicks) list.SetTicked(index, true);
    list.SetCurrent(kReaderCurrent);

    wchar_t program[MAX_PATH] = {};
    REQUIRE(GetModuleFileNameW(nullptr, program, MAX_PATH) > 0);
    std::wstring commandLine =
        L"\"" + std::wstring(program) + L"\" --test-case=\"Reader in another program\" --no-skip";
    const std::wstring window = std::to_wstring(reinterpret_cast<INT_PTR>(list.Handle()));
    SetEnvironmentVariableW(kListWindowVariable, window.c_str());
    const SentMessages messages(list.Handle());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    const BOOL running = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &startup, &started);
    SetEnvironmentVariableW(kListWindowVariable, nullptr);
    REQUIRE(running);
    const UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);

    const bool ended = ServeMessagesUntilExit(process.get(), 60000);
    if (!ended) TerminateProcess(process.get(), 1);
    REQUIRE(ended);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.get(), &exitCode);
    CHECK(exitCode == 0);
    // It did read (a reader that found no test case would end with 0 too).
    CHECK(messages.Of(LB_GETTEXT) >= static_cast<int>(kReadableItems.size()));
}

TEST_CASE("Filling a list sends its window no message per item") {
    CheckList list;
    Host host(list, true);
    list.Add(L"item 99999");
    list.SetCurrent(0);
    std::vector<std::wstring> texts;
    for (int i = 0; i < 20000; ++i) texts.push_back(L"item " + std::to_wstring(20000 - i));

    int sent = 0;
    {
        const SentMessages messages(list.Handle());
        list.AddMany(texts);
        sent = messages.Total();
    }
    CHECK(sent < 100);
    REQUIRE(SendMessageW(list.Handle(), LB_GETCOUNT, 0, 0) == 20001);
    CHECK(ReadText(list.Handle(), 20000) == AsRead(L"item 99999"));
    CHECK(list.Text(list.Current()) == L"item 99999");
}
