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
    // The manifest path behind a line of lstHistory, through the position at its end.
    std::optional<std::wstring> HistoryManifestPathOf(int index) const;
    void RemoveTickedThemes(FailureReport& report);
    struct TickedLine {
        int line;
        std::wstring manifestPath;
    };
    std::vector<TickedLine> TickedLines() const;
    // The line that shows this manifest now, looked for first where it is expected; -1 when none
    // does.
    int LineOf(const std::wstring& manifestPath, int expectedLine) const;

    HistoryStore& store_;
    ThemingService& theming_;
    CheckList lstHistory_;
    // The hidden list: the manifest path of each line, at the position the line ends with.
    std::vector<std::wstring> lstTempHistory_;
    HWND cmdHistoryRemoveTheme_ = nullptr;
};
