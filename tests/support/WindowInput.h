#pragma once
#include <windows.h>

#include <algorithm>
#include <iterator>

#include "app/MainForm.h"
#include "app/MessagePump.h"
#include "support/PanelViews.h"

namespace xpv_test {

// A click on a button (or a notifying label), as its parent window is told of it.
inline void ClickButton(HWND button) {
    SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

// A click on a Quick Menu item, as the strip reports it.
inline void ClickQuickMenuItem(MainForm& form, size_t index) {
    ClickButton(GetDlgItem(MainForm::TestView{form}.Menu().OutlookBar(), QuickMenu::kQmenuFirst + static_cast<int>(index)));
}

// Opens the panel through its Quick Menu item; gives the panel.
template <class P>
P& OpenPanel(MainForm& form) {
    ClickQuickMenuItem(form, PanelIndex<P>());
    return MainForm::TestView{form}.Panel<P>();
}

// A key pressed and released on the control: through the message queue and the window's keyboard
// navigation, as typed keys go.
inline void PressKey(HWND control, WPARAM key) {
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, 0xC0000001);
    DoEvents();
}

// A key typed with Ctrl (and Shift) held, through the message queue as typed keys go.
inline void TypeWithModifiers(HWND control, WPARAM key, bool control_, bool shift) {
    BYTE saved[256], held[256];
    GetKeyboardState(saved);
    std::copy(std::begin(saved), std::end(saved), std::begin(held));
    held[VK_CONTROL] = control_ ? 0x80 : 0;
    held[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(held);
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, 0xC0000001);
    DoEvents();
    SetKeyboardState(saved);
}

}  // namespace xpv_test
