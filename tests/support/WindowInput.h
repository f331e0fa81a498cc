#pragma once
#include <windows.h>

#include "app/MainForm.h"
#include "platform/MessagePump.h"

namespace xpv_test {

// A click on a button (or a notifying label), as its parent window is told of it.
inline void ClickButton(HWND button) {
    SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

// A click on a Quick Menu item, as the strip reports it.
inline void ClickQuickMenuItem(const MainForm& form, int index) { ClickButton(form.quickMenu.Qmenu[index]); }

// A key pressed and released on the control: through the message queue and the window's keyboard
// navigation, as typed keys go.
inline void PressKey(HWND control, WPARAM key) {
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, 0xC0000001);
    DoEvents();
}

}  // namespace xpv_test
