#pragma once
#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/CheckList.h"
#include "app/DirectoryList.h"
#include "app/DriveList.h"
#include "app/Panel.h"
#include "app/TurboTexts.h"
#include "batch/BatchSearch.h"
#include "theming/ThemingService.h"

// The batch search: one folder or a whole tree searched for programs with a manifest or without
// one, the results listed sorted by product name, and the ticked ones themed or un-themed in one
// action.
class TurboPanel : public Panel {
public:
    enum ControlId : int {
        kDrvTurbo = 300,
        kDirTurbo,
        kChkTurbo,
        kLblTurbo,
        // lblTurboSearchFor(i) is kLblTurboSearchForFirst + i: "Search for", "Themed apps", "UnThemed apps".
        kLblTurboSearchForFirst,
        // optTurboSearchFor(i) is kOptTurboSearchForFirst + i: "Themed apps", "UnThemed apps".
        kOptTurboSearchForFirst = kLblTurboSearchForFirst + 3,
        kCmdTurboSearch = kOptTurboSearchForFirst + 2,
        kCmdNewSearch,
        kCmdStopSearch,
        kLine1,
        kLstTurbo,
        // lblTurboScanning(i) is kLblTurboScanningFirst + i: (0) the files below, (1) the folders above.
        kLblTurboScanningFirst,
        kCmdScannedResults = kLblTurboScanningFirst + 2,
        kCmdTurboSelAll,
        kCmdTurboUnselAll,
        kCmdTurboApply,
    };

    explicit TurboPanel(const PanelParts& parts) : Panel(parts), theming_(parts.theming) {}

    // What the tests read and drive beyond the controls' ids.
    struct TestView;

private:
    // What the panel shows, from its first look to the ticked results being handled.
    enum class State {
        Idle,       // before the first New Search
        SetUp,      // New Search: the start folder and the mode chosen
        Searching,  // Go: the progress counts, STOP
        Searched,   // the last counts, Show Results
        Results,    // the result list, the apply row when it holds lines
        Applying,   // the ticked lines handled, STOP
    };
    class SearchDisplay;
    class ApplyDisplay;

    void CreateControls() override;
    void ShowState(State state);
    void cmdTurboSearch_Click();
    void cmdStopSearch_Click() { stopRequested_ = true; }
    void drvTurbo_Change();
    void lblTurbo_Click();
    void lblTurboSearchFor_Click(int index);
    void cmdScannedResults_Click() { ShowState(State::Results); }
    // The tip of the result list: the path of the current line, and below it what the program's
    // own manifest means when it carries one.
    std::wstring CurrentResultTooltip() const;
    void cmdTurboApply_Click();
    SearchMode ChosenMode() const;
    // The search or the apply is to end after the item in hand.
    bool Stopping() const { return stopRequested_ || host_.CloseRequested(); }
    void ShowProgress(const SearchCounters& counters, bool limitReached, const std::wstring& lastLine);
    // The folder label keeps its place while its lines fit; a longer text pushes the file label
    // down, whose foot stays where it is.
    void FitScanningLabels(const std::wstring& folderText);

    ThemingService& theming_;
    DriveList drvTurbo_;
    DirectoryList dirTurbo_;
    HWND chkTurbo_ = nullptr;
    HWND lblTurbo_ = nullptr;
    std::array<HWND, 3> lblTurboSearchFor_{};
    std::array<HWND, 2> optTurboSearchFor_{};
    HWND cmdTurboSearch_ = nullptr;
    HWND cmdNewSearch_ = nullptr;
    HWND cmdStopSearch_ = nullptr;
    CheckList lstTurbo_;
    std::array<HWND, 2> lblTurboScanning_{};
    HWND cmdScannedResults_ = nullptr;
    HWND cmdTurboSelAll_ = nullptr;
    HWND cmdTurboUnselAll_ = nullptr;
    HWND cmdTurboApply_ = nullptr;
    // Set by STOP, reset by Go and by the apply.
    bool stopRequested_ = false;
    std::wstring searchHeading_;
    // The counts of the last search, as last shown.
    SearchCounters counters_;
    // How many results end a search as STOP would.
    int64_t resultLimit_ = kMostResults;
    // How many lines the folder label's text has, as last laid out.
    size_t scanningFolderLines_ = 0;
};
