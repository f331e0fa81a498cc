#pragma once
// Child window identifiers of the main window's controls, by panel.

enum ControlId : int {
    // Quick Menu strip: Qmenu(index) is kQmenuFirst + index.
    kQmenuFirst = 100,
    kQmenuSelector = 110,
    kQmenuBottomImage = 111,

    // Wide lists
    kLstTurbo = 300,
    kLstHistory = 400,
    kLstSettings = 500,
};
