#pragma once
// What the tests (and the benchmarks) read and drive of the window beyond its controls' ids and
// messages: the parts of the main window, the panels' own lists and hidden state.
#include <windows.h>

#include <string>
#include <vector>

#include "app/MainForm.h"

struct MainForm::TestView {
    MainForm& form;

    ControlFactory& Controls() const { return form.controls_; }
    HistoryStore& History() const { return form.historyStore_; }
    QuickMenu& Menu() const { return form.quickMenu_; }
    // The panel of that row of the panel table.
    ::Panel& PanelAt(size_t index) const { return *form.panels_[index]; }
    template <class P>
    P& Panel() const {
        return form.PanelOf<P>();
    }
};

struct QuickMenu::TestView {
    QuickMenu& menu;

    HWND Item(size_t index) const { return GetDlgItem(menu.OutlookBar(), kQmenuFirst + static_cast<int>(index)); }
    HWND Control(int id) const { return GetDlgItem(menu.OutlookBar(), id); }
    void Click(size_t index) const { menu.Qmenu_Click(index); }
    void MouseMove(size_t index) const { menu.Qmenu_MouseMove(index); }
    void Timer() const { menu.tmrQuickMenu_Timer(); }
    size_t HoveredIndex() const { return menu.hoveredIndex_; }
    POINT CursorPoint() const { return menu.cursorPoint_; }
    std::optional<size_t> OpenIndex() const { return menu.open_; }
    HICON SelectorIcon() const { return menu.selectorIcon_; }
    HICON Icon(size_t index) const { return menu.icons_[index].get(); }
};

struct VestrimPanel::TestView {
    VestrimPanel& panel;

    DriveList& Drive1() const { return panel.Drive1_; }
    DirectoryList& Dir1() const { return panel.Dir1_; }
    CheckList& lstUnthemed() const { return panel.lstUnthemed_; }
    CheckList& lstThemed() const { return panel.lstThemed_; }
    const std::wstring& FilePath() const { return panel.File1_.Path; }
};

struct TurboPanel::TestView {
    TurboPanel& panel;

    DriveList& drvTurbo() const { return panel.drvTurbo_; }
    DirectoryList& dirTurbo() const { return panel.dirTurbo_; }
    CheckList& lstTurbo() const { return panel.lstTurbo_; }
    // The programs of the result lines, from the top of the list.
    std::vector<std::wstring> ResultPaths() const {
        std::vector<std::wstring> paths;
        for (int line = 0; line < panel.lstTurbo_.Count(); ++line) paths.push_back(panel.lstTurbo_.Value(line));
        return paths;
    }
    bool StopRequested() const { return panel.stopRequested_; }
    const std::wstring& SearchHeading() const { return panel.searchHeading_; }
    const SearchCounters& Counters() const { return panel.counters_; }
    void SetResultLimit(int64_t limit) const { panel.resultLimit_ = limit; }
};

struct HistoryPanel::TestView {
    HistoryPanel& panel;

    CheckList& lstHistory() const { return panel.lstHistory_; }
    // The manifests of the lines, from the top of the list.
    std::vector<std::wstring> ManifestPaths() const {
        std::vector<std::wstring> paths;
        for (int line = 0; line < panel.lstHistory_.Count(); ++line) paths.push_back(panel.lstHistory_.Value(line));
        return paths;
    }
};

struct SettingsPanel::TestView {
    SettingsPanel& panel;

    CheckList& lstSettings() const { return panel.lstSettings_; }
    const std::wstring& Catalogue() const { return panel.catalogue_; }
};
