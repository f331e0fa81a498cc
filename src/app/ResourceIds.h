#pragma once
// Resource identifiers shared by the resource script and the window code.

#define IDI_APP 1
#define IDI_QMENU_BOTTOM 16
// The icon of the Quick Menu's item i (row i of the panel table) is IDI_QMENU_FIRST + i.
#define IDI_QMENU_FIRST 100
#define IDC_QMENU_SELECTOR 20
#define IDB_PANEL_BACKGROUND 30
