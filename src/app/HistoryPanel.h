#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "app/CheckList.h"
#include "app/Panel.h"
#include "history/HistoryStore.h"
#include "theming/ThemingService.h"

// Every program that got a manifest, from which the manifests can be removed again.
class HistoryPanel : public Panel {
public:
    enum ControlId : int {
        kLstHistory = 400,
        kCmdHistorySelAll,
        kCmdHistoryUnselAll,
        kCmdHistoryRemoveTheme,
    };

    explicit HistoryPanel(const PanelParts& parts) : Panel(parts), store_(parts.history), theming_(parts.theming) {}

    void Shown() override { LoadHistory(); }

    // What the tests read and drive beyond the controls' ids.
    struct TestView;

private:
    void CreateControls() override;
    // Fills the lists from the history, dropping entries whose manifest is gone; tells once when
    // the history could not be read or kept up to date.
    void LoadHistory();
    // The list's tooltip: the current line's program, or the history file when no line is current.
    void ShowCurrentInTooltip();
    void cmdHistoryRemoveTheme_Click();
    class RemovalDisplay;

    HistoryStore& store_;
    ThemingService& theming_;
    CheckList lstHistory_;
    HWND cmdHistoryRemoveTheme_ = nullptr;
};
