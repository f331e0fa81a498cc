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
#include "batch/BatchSearch.h"
#include "theming/ThemingService.h"

// The batch search: one folder or a whole tree searched for programs with a manifest or without
// one, the results listed sorted by product name, and the ticked ones themed or un-themed in one
// action.
class TurboPanel : public Panel {
public:
    TurboPanel(PanelHost& host, ThemingService& theming) : Panel(host), theming_(theming) {}

    void Create() override;

    void cmdTurboSearch_Click();
    void cmdStopSearch_Click() { StopRequested = true; }
    void drvTurbo_Change();
    void lblTurbo_Click();
    void lblTurboSearchFor_Click(int index);
    void cmdNewSearch_Click();
    void cmdScannedResults_Click();
    void lstTurbo_Click();
    void cmdTurboSelAll_Click() { lstTurbo.SetAllTicked(true); }
    void cmdTurboUnselAll_Click() { lstTurbo.SetAllTicked(false); }
    void cmdTurboApply_Click();

    // The executable behind a line of lstTurbo, through the serial at its end.
    std::optional<std::wstring> ResultPathOfLine(int index) const;

    DriveList drvTurbo;
    DirectoryList dirTurbo;
    HWND chkTurbo = nullptr;
    HWND lblTurbo = nullptr;
    std::array<HWND, 3> lblTurboSearchFor{};
    // (0): "Themed apps", (1): "UnThemed apps".
    std::array<HWND, 2> optTurboSearchFor{};
    HWND cmdTurboSearch = nullptr;
    HWND cmdNewSearch = nullptr;
    HWND cmdStopSearch = nullptr;
    HWND Line1 = nullptr;
    CheckList lstTurbo;
    // (1): the folder count above, (0): the file counts and the last file's line below.
    std::array<HWND, 2> lblTurboScanning{};
    HWND cmdScannedResults = nullptr;
    HWND cmdTurboSelAll = nullptr;
    HWND cmdTurboUnselAll = nullptr;
    HWND cmdTurboApply = nullptr;
    // The executable of each result, entry n for the line with serial n; only Go changes it.
    std::vector<std::wstring> lstTempTurbo;

    // Set by STOP, reset by Go and by the apply.
    bool StopRequested = false;
    std::wstring SearchPattern;
    std::wstring SearchHeading;
    // The counts of the last search, as last shown.
    SearchCounters Counters;
    // How many results end a search as STOP would.
    int ResultLimit = kMostResults;

private:
    class SearchDisplay;
    class ApplyDisplay;

    SearchMode ChosenMode() const;
    // The search or the apply is to end after the item in hand.
    bool Stopping() const { return StopRequested || host_.CloseRequested(); }
    void ShowProgress(const SearchProgress& progress);
    // The folder label keeps its place while its lines fit; a longer text pushes the file label
    // down, whose foot stays where it is.
    void FitScanningLabels(const std::wstring& folderText);
    void ShowApplyRow(bool shown);

    ThemingService& theming_;
    // How many lines the folder label's text has, as last laid out.
    size_t scanningFolderLines_ = 0;
};
