#pragma once
#include <windows.h>

#include "app/MainForm.h"
#include "platform/MessagePump.h"
#include "support/TempFolder.h"

namespace xpv_test {

// A main window for a test: its profile files in the folder given; closing it ends no loop.
inline MainForm::Options TestFormOptions(const TempFolder& folder) {
    MainForm::Options options;
    options.endsProgram = false;
    options.applicationDirectory = folder.Path();
    return options;
}

// A click on a Quick Menu item, as the strip reports it.
inline void ClickQuickMenuItem(const MainForm& form, int index) {
    HWND item = form.quickMenu.Qmenu[index];
    SendMessageW(form.quickMenu.OutlookBar(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(item), STN_CLICKED),
                 reinterpret_cast<LPARAM>(item));
}

// A key pressed and released on the control: through the message queue and the window's keyboard
// navigation, as typed keys go.
inline void PressKey(HWND control, WPARAM key) {
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, 0xC0000001);
    DoEvents();
}

}  // namespace xpv_test
