#pragma once
#include <windows.h>
#include <commctrl.h>

// The window-subclass functions of Common Controls, found at run time. Only version 6 exports
// them by name; version 5.8 (what Windows XP loads when a manifest beside the program asks for no
// Common Controls 6 and so overrides the program's own) exports the same functions by ordinal
// only. Importing them by name would keep the program from starting there.
struct WindowSubclassFunctions {
    decltype(&::SetWindowSubclass) set = nullptr;
    decltype(&::RemoveWindowSubclass) remove = nullptr;
    decltype(&::DefSubclassProc) defaultProc = nullptr;

    bool Complete() const { return set && remove && defaultProc; }
};

// How the functions are looked up in a loaded comctl32: by name first, by ordinal where the name
// is missing; or by ordinal only, as version 5.8 offers them.
enum class SubclassLookup { NameThenOrdinal, OrdinalOnly };

WindowSubclassFunctions FindWindowSubclassFunctions(HMODULE commonControls, SubclassLookup lookup);

// The program's own, from the comctl32 it has loaded (its activation context chose the version).
const WindowSubclassFunctions& WindowSubclass();

// For the callers: the same signatures as the platform's functions of these names.
BOOL SetControlSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
BOOL RemoveControlSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT DefaultSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
