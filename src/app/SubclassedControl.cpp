#include "app/SubclassedControl.h"

#include <commctrl.h>

#include <utility>

#include "app/WindowSubclass.h"

// The object's address is the subclass id, so two owners never share one on the same window.

SubclassedControl::~SubclassedControl() {
    if (control_) RemoveControlSubclass(control_, Route, reinterpret_cast<UINT_PTR>(this));
}

void SubclassedControl::Attach(HWND control, Handler handler) {
    control_ = control;
    handler_ = std::move(handler);
    SetControlSubclass(control_, Route, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK SubclassedControl::Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR self) {
    auto* routed = reinterpret_cast<SubclassedControl*>(self);
    if (message == WM_NCDESTROY) {
        RemoveControlSubclass(window, Route, id);
        routed->control_ = nullptr;
        return DefaultSubclassProc(window, message, wParam, lParam);
    }
    return routed->handler_(message, wParam, lParam);
}
