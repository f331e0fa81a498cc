#include "app/HelpPanel.h"

#include <commctrl.h>

#include "app/HelpText.h"
#include "app/Look.h"
#include "app/WindowSubclass.h"
#include "app/WindowText.h"

void HelpPanel::CreateControls() {
    // Word-wrapped, so no ES_AUTOHSCROLL; a read-only box asks for its colours as a static does.
    const HWND box = controls_.AddChild({.parent = &window_, .id = kTxtHelp, .rect = {120, 120, 4815, 4455},
                                         .font = &look::kHelpFont,
                                         .style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE |
                                                  ES_AUTOVSCROLL | ES_READONLY},
                                        L"EDIT", WS_EX_CLIENTEDGE);
    window_.SetColours(box, look::kNavy, look::kLightGrey);
    // Tabs every four average characters instead of eight: the bullets stay close to the edge and
    // each line of the text fits the box. Set before the text, which is broken into lines as it
    // arrives.
    const UINT tabStop = 16;  // dialog units
    SendMessageW(box, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
    SetText(box, HelpText());
    // The keyboard handling of the window, not the box, takes Tab, Enter and Escape; and coming
    // in by Tab selects nothing.
    helpBox_.Attach(box, [box](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        const LRESULT result = DefaultSubclassProc(box, message, wParam, lParam);
        if (message == WM_GETDLGCODE) return result & ~(DLGC_HASSETSEL | DLGC_WANTALLKEYS);
        return result;
    });
}
