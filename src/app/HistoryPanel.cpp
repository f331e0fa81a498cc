#include "app/HistoryPanel.h"

#include "app/ControlIds.h"
#include "app/DisabledControls.h"
#include "app/Look.h"
#include "history/HistoryLines.h"
#include "manifest/ManifestFile.h"

void HistoryPanel::Create() {
    host_.CreatePanelWindow(window_);
    const TwipScale& scale = host_.Scale();
    lstHistory.Create(window_.Handle(), kLstHistory, scale.Rect(120, 120, 4815, 4140), CheckList::Style{true},
                      host_.Font(look::kPanelFont), scale.Dpi());
    window_.Register(lstHistory);
    lstHistory.onClick = [this] { lstHistory_Click(); };
    host_.SetTooltip(lstHistory.Handle(), L"");

    cmdHistorySelAll = host_.AddButton({.parent = &window_, .id = kCmdHistorySelAll, .rect = {120, 4200, 495, 375},
                                        .font = &look::kSignFont, .text = L"+", .tooltip = L"Select All"});
    cmdHistoryUnselAll = host_.AddButton({.parent = &window_, .id = kCmdHistoryUnselAll,
                                          .rect = {600, 4200, 495, 375}, .font = &look::kSignFont, .text = L"-",
                                          .tooltip = L"Deselect All"});
    cmdHistoryRemoveTheme = host_.AddButton({.parent = &window_, .id = kCmdHistoryRemoveTheme,
                                             .rect = {1080, 4200, 3855, 375}, .font = &look::kPanelFont,
                                             .text = L"Untheme Selected Applications"});
    window_.OnClick(cmdHistorySelAll, [this] { cmdHistorySelAll_Click(); });
    window_.OnClick(cmdHistoryUnselAll, [this] { cmdHistoryUnselAll_Click(); });
    window_.OnClick(cmdHistoryRemoveTheme, [this] { cmdHistoryRemoveTheme_Click(); });
}

void HistoryPanel::LoadHistory() {
    const std::vector<HistoryStore::Entry> entries = store_.Load();
    lstHistory.Clear();
    lstTempHistory.clear();
    std::vector<std::wstring> lines;
    lines.reserve(entries.size());
    lstTempHistory.reserve(entries.size());
    for (const HistoryStore::Entry& entry : entries) {
        lines.push_back(HistoryDisplayText(entry.value, entry.manifestPath, lstTempHistory.size()));
        lstTempHistory.push_back(entry.manifestPath);
    }
    lstHistory.AddMany(lines);
}

std::optional<std::wstring> HistoryPanel::HistoryManifestPathOf(int index) const {
    const std::optional<size_t> position = PositionOfDisplayText(lstHistory.Text(index));
    if (!position || *position >= lstTempHistory.size()) return std::nullopt;
    return lstTempHistory[*position];
}

void HistoryPanel::lstHistory_Click() {
    const int current = lstHistory.Current();
    if (current < 0) return;
    if (const auto manifestPath = HistoryManifestPathOf(current)) {
        host_.SetTooltip(lstHistory.Handle(), ExecutablePathOfManifest(*manifestPath));
    }
}

void HistoryPanel::cmdHistorySelAll_Click() { lstHistory.SetAllTicked(true); }

void HistoryPanel::cmdHistoryUnselAll_Click() { lstHistory.SetAllTicked(false); }

void HistoryPanel::cmdHistoryRemoveTheme_Click() {
    const PanelHost::LongAction action(host_);
    FailureReport report(FailureReport::Action::Untheme);
    {
        const DisabledControls disabled{cmdHistoryRemoveTheme, host_.QuickMenuStrip()};
        RemoveTickedThemes(report);
    }
    host_.Report(report);
}

// Ticked items go one at a time from the top, each pass starting again after a removal. A
// manifest already gone stays listed and ticked (the next load drops its entry); one that cannot
// be removed keeps its entry and is unticked, so it is not tried again in the same action.
void HistoryPanel::RemoveTickedThemes(FailureReport& report) {
    bool removedInPass = true;
    while (removedInPass && !host_.CloseRequested()) {
        removedInPass = false;
        const int count = lstHistory.Count();
        for (int i = 0; i < count; ++i) {
            if (!lstHistory.IsTicked(i)) continue;
            const std::optional<std::wstring> manifestPath = HistoryManifestPathOf(i);
            if (!manifestPath || !IsManifestPresent(*manifestPath)) continue;
            if (const ManifestFailure failure = theming_.Untheme(*manifestPath); failure != ManifestFailure::None) {
                report.Add(ExecutablePathOfManifest(*manifestPath), failure);
                lstHistory.SetTicked(i, false);
                continue;
            }
            store_.Forget(*manifestPath);
            lstHistory.RemoveAt(i);
            removedInPass = true;
            break;
        }
    }
}
