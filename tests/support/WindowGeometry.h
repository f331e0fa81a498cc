#pragma once
#include <windows.h>

namespace xpv_test {

// A control's rectangle in the client coordinates of the window that contains it.
inline RECT RectIn(HWND control, HWND container) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace xpv_test
