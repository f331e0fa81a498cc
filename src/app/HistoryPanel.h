#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/CheckList.h"
#include "app/Panel.h"
#include "history/HistoryStore.h"
#include "theming/ThemingService.h"

// Every program that got a manifest, from which the manifests can be removed again.
class HistoryPanel : public Panel {
public:
    HistoryPanel(PanelHost& host, HistoryStore& store, ThemingService& theming)
        : Panel(host), store_(store), theming_(theming) {}

    void Create() override;
    void Shown() override { LoadHistory(); }

    // Fills the lists from the history, dropping entries whose manifest is gone.
    void LoadHistory();
    void lstHistory_Click();
    void cmdHistorySelAll_Click();
    void cmdHistoryUnselAll_Click();
    void cmdHistoryRemoveTheme_Click();
    // The manifest path behind a line of lstHistory, through the position at its end.
    std::optional<std::wstring> HistoryManifestPathOf(int index) const;

    CheckList lstHistory;
    // The hidden list: the manifest path of each line, at the position the line ends with.
    std::vector<std::wstring> lstTempHistory;
    HWND cmdHistorySelAll = nullptr;
    HWND cmdHistoryUnselAll = nullptr;
    HWND cmdHistoryRemoveTheme = nullptr;

private:
    void RemoveTickedThemes(FailureReport& report);

    HistoryStore& store_;
    ThemingService& theming_;
};
