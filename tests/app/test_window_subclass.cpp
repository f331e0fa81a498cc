#include <windows.h>

#include <string>

#include "app/WindowSubclass.h"
#include "support/doctest_wide.h"

namespace {

// Function addresses, comparable and printable in a check.
template <typename Function>
const void* Address(Function function) {
    return reinterpret_cast<const void*>(function);
}

struct SubclassSeen {
    UINT asked = 0;
};

LRESULT CALLBACK AnswerAppMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data) {
    if (message == WM_APP) {
        reinterpret_cast<SubclassSeen*>(data)->asked++;
        return 42;
    }
    return DefaultSubclassProc(window, message, wParam, lParam);
}

// The three functions, as found by one lookup, carry a subclass through its life: set, messages
// routed (and passed on to the control), removed.
void CheckSubclassing(const WindowSubclassFunctions& functions) {
    REQUIRE(functions.Complete());
    HWND control = CreateWindowExW(0, L"STATIC", L"before", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    REQUIRE(control);
    SubclassSeen seen;
    REQUIRE(functions.set(control, AnswerAppMessage, 1, reinterpret_cast<DWORD_PTR>(&seen)));
    CHECK(SendMessageW(control, WM_APP, 0, 0) == 42);
    CHECK(seen.asked == 1);
    // What the subclass leaves alone reaches the control's own procedure.
    CHECK(SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"after")));
    wchar_t text[16] = {};
    GetWindowTextW(control, text, 16);
    CHECK(std::wstring(text) == L"after");
    REQUIRE(functions.remove(control, AnswerAppMessage, 1));
    CHECK(SendMessageW(control, WM_APP, 0, 0) == 0);
    CHECK(seen.asked == 1);
    DestroyWindow(control);
}

}  // namespace

TEST_CASE("The subclass functions are found by ordinal, as Common Controls 5.8 offers them") {
    wchar_t system[MAX_PATH] = {};
    REQUIRE(GetSystemDirectoryW(system, MAX_PATH) > 0);
    // The system folder's comctl32 is the one a program runs with when no manifest asks for
    // version 6.
    const HMODULE systemControls = LoadLibraryW((std::wstring(system) + L"\\comctl32.dll").c_str());
    REQUIRE(systemControls);
    const WindowSubclassFunctions byOrdinal = FindWindowSubclassFunctions(systemControls, SubclassLookup::OrdinalOnly);
    const WindowSubclassFunctions byName = FindWindowSubclassFunctions(systemControls, SubclassLookup::NameThenOrdinal);

    SUBCASE("the ordinals name the same functions as the names") {
        CHECK(Address(byOrdinal.set) == Address(byName.set));
        CHECK(Address(byOrdinal.remove) == Address(byName.remove));
        CHECK(Address(byOrdinal.defaultProc) == Address(byName.defaultProc));
    }
    SUBCASE("a subclass works through the functions found by ordinal") {
        CheckSubclassing(byOrdinal);
    }
    FreeLibrary(systemControls);
}

TEST_CASE("The program's own subclass functions come from the comctl32 it loaded") {
    const WindowSubclassFunctions& own = WindowSubclass();
    REQUIRE(own.Complete());
    CHECK(Address(own.set) ==
          Address(FindWindowSubclassFunctions(GetModuleHandleW(L"comctl32.dll"), SubclassLookup::OrdinalOnly).set));
    CheckSubclassing(own);
    SUBCASE("and the callers' wrappers route through them") {
        HWND control = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
        REQUIRE(control);
        SubclassSeen seen;
        REQUIRE(SetControlSubclass(control, AnswerAppMessage, 7, reinterpret_cast<DWORD_PTR>(&seen)));
        CHECK(SendMessageW(control, WM_APP, 0, 0) == 42);
        CHECK(RemoveControlSubclass(control, AnswerAppMessage, 7));
        CHECK(SendMessageW(control, WM_APP, 0, 0) == 0);
        CHECK(seen.asked == 1);
        DestroyWindow(control);
    }
}
