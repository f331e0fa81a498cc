#pragma once
#include <windows.h>
#include <commctrl.h>

#include <iterator>
#include <string>

namespace xpv_test {

struct TooltipSearch {
    HWND form;
    HWND found;
};

inline BOOL CALLBACK FindTooltipWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TooltipSearch*>(data);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (GetWindow(window, GW_OWNER) != search->form || std::wstring(className) != TOOLTIPS_CLASSW) return TRUE;
    search->found = window;
    return FALSE;
}

// The tooltip window the form owns.
inline HWND TooltipWindowOf(HWND form) {
    TooltipSearch search{form, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindTooltipWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text the tooltip window shows for the control, asked of the control's parent where the tip's
// text is made when it shows.
inline std::wstring ToolText(HWND tooltips, HWND control) {
    wchar_t text[1024] = {};  // the longest text a tooltip window hands out
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(tooltips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    return text;
}

}  // namespace xpv_test
