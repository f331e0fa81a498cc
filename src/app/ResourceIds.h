#pragma once
// Resource identifiers shared by the resource script and the window code.

#define IDI_APP 1
#define IDI_QMENU_VESTRIM 10
#define IDI_QMENU_HELP 11
#define IDI_QMENU_ABOUT 12
#define IDI_QMENU_TURBO 13
#define IDI_QMENU_HISTORY 14
#define IDI_QMENU_SETTINGS 15
#define IDI_QMENU_BOTTOM 16
#define IDC_QMENU_SELECTOR 20
#define IDB_PANEL_BACKGROUND 30
