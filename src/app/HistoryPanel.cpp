#include "app/HistoryPanel.h"

#include "app/DisabledControls.h"
#include "app/ListScrollWidths.h"
#include "app/Look.h"
#include "history/HistoryLines.h"
#include "manifest/ManifestFile.h"
#include "theming/OutcomeReport.h"

void HistoryPanel::CreateControls() {
    AddResultList(controls_, lstHistory_, {.parent = &window_, .id = kLstHistory, .rect = {120, 120, 4815, 4140},
                                           .onClick = [this] { lstHistory_Click(); }});

    controls_.AddButton({.parent = &window_, .id = kCmdHistorySelAll, .rect = {120, 4200, 495, 375},
                         .font = &look::kSignFont, .text = L"+", .tooltip = L"Select All",
                         .onClick = [this] { lstHistory_.SetAllTicked(true); }});
    controls_.AddButton({.parent = &window_, .id = kCmdHistoryUnselAll, .rect = {600, 4200, 495, 375},
                         .font = &look::kSignFont, .text = L"-", .tooltip = L"Deselect All",
                         .onClick = [this] { lstHistory_.SetAllTicked(false); }});
    cmdHistoryRemoveTheme_ = controls_.AddButton({.parent = &window_, .id = kCmdHistoryRemoveTheme,
                                                  .rect = {1080, 4200, 3855, 375}, .font = &look::kPanelFont,
                                                  .text = L"Untheme Selected Applications",
                                                  .onClick = [this] { cmdHistoryRemoveTheme_Click(); }});
}

void HistoryPanel::LoadHistory() {
    const std::vector<HistoryStore::Entry> entries = store_.Load();
    lstHistory_.Clear();
    lstTempHistory_.clear();
    std::vector<std::wstring> lines;
    lines.reserve(entries.size());
    lstTempHistory_.reserve(entries.size());
    for (const HistoryStore::Entry& entry : entries) {
        lines.push_back(HistoryDisplayText(entry.value, entry.manifestPath, lstTempHistory_.size()));
        lstTempHistory_.push_back(entry.manifestPath);
    }
    lstHistory_.AddMany(lines);
}

std::optional<std::wstring> HistoryPanel::HistoryManifestPathOf(int index) const {
    const std::optional<size_t> position = PositionOfDisplayText(lstHistory_.Text(index));
    if (!position || *position >= lstTempHistory_.size()) return std::nullopt;
    return lstTempHistory_[*position];
}

void HistoryPanel::lstHistory_Click() {
    const int current = lstHistory_.Current();
    if (current < 0) return;
    if (const auto manifestPath = HistoryManifestPathOf(current)) {
        controls_.SetTooltip(lstHistory_.Handle(), ExecutablePathOfManifest(*manifestPath));
    }
}

void HistoryPanel::cmdHistoryRemoveTheme_Click() {
    const PanelHost::LongAction action(host_);
    FailureReport report(FailureReport::Action::Untheme);
    {
        const DisabledControls disabled{cmdHistoryRemoveTheme_, host_.QuickMenuStrip()};
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
        const int count = lstHistory_.Count();
        for (int i = 0; i < count; ++i) {
            if (!lstHistory_.IsTicked(i)) continue;
            const std::optional<std::wstring> manifestPath = HistoryManifestPathOf(i);
            if (!manifestPath || !IsManifestPresent(*manifestPath)) continue;
            const ThemingService::UnthemeOutcome outcome = theming_.RemoveTheme(*manifestPath);
            ReportOutcome(report, ExecutablePathOfManifest(*manifestPath), outcome);
            if (outcome.failure != ManifestFailure::None) {
                lstHistory_.SetTicked(i, false);
                continue;
            }
            store_.Forget(*manifestPath);
            lstHistory_.RemoveAt(i);
            removedInPass = true;
            break;
        }
    }
}
