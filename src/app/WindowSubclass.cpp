#include "app/WindowSubclass.h"

namespace {

// The ordinals Common Controls 5.8 and 6 both export these functions under.
constexpr WORD kSetWindowSubclassOrdinal = 410;
constexpr WORD kRemoveWindowSubclassOrdinal = 412;
constexpr WORD kDefSubclassProcOrdinal = 413;

template <typename Function>
Function Find(HMODULE module, const char* name, WORD ordinal, SubclassLookup lookup) {
    FARPROC found = lookup == SubclassLookup::NameThenOrdinal ? GetProcAddress(module, name) : nullptr;
    if (!found) found = GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
    return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

}  // namespace

WindowSubclassFunctions FindWindowSubclassFunctions(HMODULE commonControls, SubclassLookup lookup) {
    WindowSubclassFunctions functions;
    if (!commonControls) return functions;
    functions.set = Find<decltype(functions.set)>(commonControls, "SetWindowSubclass", kSetWindowSubclassOrdinal, lookup);
    functions.remove =
        Find<decltype(functions.remove)>(commonControls, "RemoveWindowSubclass", kRemoveWindowSubclassOrdinal, lookup);
    functions.defaultProc =
        Find<decltype(functions.defaultProc)>(commonControls, "DefSubclassProc", kDefSubclassProcOrdinal, lookup);
    return functions;
}

const WindowSubclassFunctions& WindowSubclass() {
    // Loaded the way an import would be, through the activation context the program's manifest
    // made; it stays loaded for the life of the process.
    static const WindowSubclassFunctions functions =
        FindWindowSubclassFunctions(LoadLibraryW(L"comctl32.dll"), SubclassLookup::NameThenOrdinal);
    return functions;
}

BOOL SetControlSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    const auto set = WindowSubclass().set;
    return set ? set(window, procedure, id, data) : FALSE;
}

BOOL RemoveControlSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    const auto remove = WindowSubclass().remove;
    return remove ? remove(window, procedure, id) : FALSE;
}

LRESULT DefaultSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Without the subclass functions no subclass was set, and the control's own procedure is the one
    // to call.
    const auto defaultProc = WindowSubclass().defaultProc;
    return defaultProc ? defaultProc(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}
