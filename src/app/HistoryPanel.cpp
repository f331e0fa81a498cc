#include "app/HistoryPanel.h"

#include "app/DisabledControls.h"
#include "app/ListScrollWidths.h"
#include "app/Look.h"
#include "history/HistoryLines.h"
#include "manifest/ManifestFile.h"
#include "theming/OutcomeReport.h"

void HistoryPanel::CreateControls() {
    AddResultList(controls_, lstHistory_, {.parent = &window_, .id = kLstHistory, .rect = {120, 120, 4815, 4140},
                                           .onClick = [this] { ShowCurrentInTooltip(); }});

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
    const HistoryStore::Listing listing = store_.List();
    lstHistory_.Clear();
    lstTempHistory_.clear();
    std::vector<std::wstring> lines;
    lines.reserve(listing.entries.size());
    lstTempHistory_.reserve(listing.entries.size());
    for (const HistoryStore::Entry& entry : listing.entries) {
        lines.push_back(HistoryDisplayText(entry.value, entry.manifestPath, lstTempHistory_.size()));
        lstTempHistory_.push_back(entry.manifestPath);
    }
    lstHistory_.AddMany(lines);
    ShowCurrentInTooltip();
    if (listing.trouble != HistoryStore::Trouble::None) host_.ShowMessage(HistoryTroubleText(listing.trouble));
}

std::optional<std::wstring> HistoryPanel::HistoryManifestPathOf(int index) const {
    const std::optional<size_t> position = PositionOfDisplayText(lstHistory_.Text(index));
    if (!position || *position >= lstTempHistory_.size()) return std::nullopt;
    return lstTempHistory_[*position];
}

// The program of the current line; with no line current (after a load or a removal), the file
// the history lives in, which is not always the one beside the program.
void HistoryPanel::ShowCurrentInTooltip() {
    const int current = lstHistory_.Current();
    const std::optional<std::wstring> manifestPath = current < 0 ? std::nullopt : HistoryManifestPathOf(current);
    controls_.SetTooltip(lstHistory_.Handle(), manifestPath ? ExecutablePathOfManifest(*manifestPath)
                                                            : L"History file: " + store_.File());
}

void HistoryPanel::cmdHistoryRemoveTheme_Click() {
    const PanelHost::LongAction action(host_);
    FailureReport report(FailureReport::Action::Untheme);
    {
        const DisabledControls disabled{cmdHistoryRemoveTheme_, host_.QuickMenuStrip()};
        RemoveTickedThemes(report);
    }
    ShowCurrentInTooltip();
    host_.Report(report);
}

// The lines ticked when the removal starts, from the top; a line ticked or unticked meanwhile, or
// a list loaded again while the removal yields, changes nothing of it. A manifest already gone
// stays listed and ticked (the next load drops its entry); one that cannot be removed keeps its
// entry and its line is unticked.
void HistoryPanel::RemoveTickedThemes(FailureReport& report) {
    int removed = 0;
    for (const TickedLine& ticked : TickedLines()) {
        if (host_.CloseRequested()) return;
        const std::wstring& path = ticked.manifestPath;
        if (!IsManifestPresent(path)) continue;
        // Lines above it that went moved it up by as many.
        const int expectedLine = ticked.line - removed;
        const ThemingService::UnthemeOutcome outcome = theming_.RemoveTheme(path);
        ReportOutcome(report, ExecutablePathOfManifest(path), outcome);
        if (outcome.failure != ManifestFailure::None) {
            lstHistory_.SetTicked(LineOf(path, expectedLine), false);
            continue;
        }
        if (!store_.Forget(path)) report.HistoryTrouble(HistoryStore::Trouble::NotUpdated);
        lstHistory_.RemoveAt(LineOf(path, expectedLine));
        ++removed;
    }
}

std::vector<HistoryPanel::TickedLine> HistoryPanel::TickedLines() const {
    std::vector<TickedLine> ticked;
    for (const int line : lstHistory_.TickedItems()) {
        if (std::optional<std::wstring> path = HistoryManifestPathOf(line)) ticked.push_back({line, std::move(*path)});
    }
    return ticked;
}

int HistoryPanel::LineOf(const std::wstring& manifestPath, int expectedLine) const {
    // Elsewhere when the list was loaded again meanwhile.
    return lstHistory_.FindItem(expectedLine, [&](int line) { return HistoryManifestPathOf(line) == manifestPath; });
}
