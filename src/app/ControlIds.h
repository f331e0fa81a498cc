#pragma once
// Child window identifiers of the main window's controls, by panel.

enum ControlId : int {
    // Quick Menu strip: Qmenu(index) is kQmenuFirst + index.
    kQmenuFirst = 100,
    kQmenuSelector = 110,
    kQmenuBottomImage = 111,

    // Vestrim panel
    kDrive1 = 200,
    kDir1,
    kLstUnthemed,
    kCmdUnThemedSelAll,
    kCmdUnThemedUnSelAll,
    kLstThemed,
    kCmdThemedSelAll,
    kCmdThemedUnSelAll,
    kTxtCompanyName,
    kTxtProductName,
    kTxtApplicationName,
    kTxtDescription,
    kCmdVestrim,

    // Wide lists
    kLstTurbo = 300,
    kLstHistory = 400,
    kCmdHistorySelAll,
    kCmdHistoryUnselAll,
    kCmdHistoryRemoveTheme,
    kLstSettings = 500,

    // Settings panel
    kLstSettingsGroups,
    kCmdThemeCPLTheme,
    kCmdSettingsRefresh,
    kCmdSettingsApply,

    // Turbo Vestrim panel: optTurboSearchFor(index) is kOptTurboSearchForFirst + index.
    kDrvTurbo = 310,
    kDirTurbo,
    kChkTurbo,
    kOptTurboSearchForFirst,
    kCmdTurboSearch = kOptTurboSearchForFirst + 2,
    kCmdNewSearch,
    kCmdStopSearch,
    kCmdScannedResults,
    kCmdTurboSelAll,
    kCmdTurboUnselAll,
    kCmdTurboApply,

    // Help panel
    kTxtHelp = 600,

    // About panel: Option1(index) is kOption1First + index.
    kOption1First = 700,
    kLblWebsite = 710,
    kLblProgramming,

    // Shortcut keys of the main window
    kShortcutNextPanel = 900,
    kShortcutPreviousPanel,
    kShortcutHelp,
};
