#include "app/HistoryPanel.h"

#include "app/DisabledControls.h"
#include "app/ListScrollWidths.h"
#include "app/Look.h"
#include "history/HistoryLines.h"
#include "manifest/ManifestFile.h"
#include "theming/ThemingAction.h"

// What the removal asks of the panel. It works on the lines ticked when it starts, from the top; a
// line ticked or unticked meanwhile, or a list loaded again while the removal yields, changes
// nothing of it. A manifest already gone stays listed and ticked (the next load drops its entry);
// one that cannot be removed keeps its entry and its line is unticked.
class HistoryPanel::RemovalDisplay final : public ActionHost {
public:
    explicit RemovalDisplay(HistoryPanel& panel) : panel_(panel), list_(panel.lstHistory_) {
        for (const int line : list_.TickedItems()) {
            lines_.push_back(line);
            manifests_.push_back(list_.Value(line));
            executables_.push_back(ExecutablePathOfManifest(manifests_.back()));
        }
    }

    const std::vector<std::wstring>& Executables() const { return executables_; }

    bool StopRequested() override { return panel_.host_.CloseRequested(); }
    bool Starting(size_t index) override { return IsManifestPresent(manifests_[index]); }
    void Finished(size_t index, const ProgramOutcome& outcome) override {
        // Lines above it that went moved it up by as many; elsewhere when the list was loaded
        // again meanwhile.
        const int line = list_.FindValue(lines_[index] - removed_, manifests_[index]);
        if (!outcome.Done()) {
            list_.SetTicked(line, false);
            return;
        }
        list_.RemoveAt(line);
        ++removed_;
    }

private:
    HistoryPanel& panel_;
    CheckList& list_;
    std::vector<int> lines_;
    std::vector<std::wstring> manifests_;
    std::vector<std::wstring> executables_;
    int removed_ = 0;
};

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
    std::vector<CheckList::Entry> lines;
    lines.reserve(listing.entries.size());
    for (const HistoryStore::Entry& entry : listing.entries) {
        lines.push_back({HistoryDisplayText(entry.value, entry.manifestPath, lines.size()), entry.manifestPath});
    }
    lstHistory_.AddEntries(std::move(lines));
    ShowCurrentInTooltip();
    if (listing.trouble != HistoryStore::Trouble::None) host_.ShowMessage(HistoryTroubleText(listing.trouble));
}

// The program of the current line; with no line current (after a load or a removal), the file
// the history lives in, which is not always the one beside the program.
void HistoryPanel::ShowCurrentInTooltip() {
    const int current = lstHistory_.Current();
    controls_.SetTooltip(lstHistory_.Handle(), current >= 0 ? ExecutablePathOfManifest(lstHistory_.Value(current))
                                                            : L"History file: " + store_.File());
}

void HistoryPanel::cmdHistoryRemoveTheme_Click() {
    const PanelHost::LongAction action(host_);
    RemovalDisplay display(*this);
    ThemingRun run(theming_);
    FailureReport report = [&] {
        const DisabledControls disabled{cmdHistoryRemoveTheme_, host_.QuickMenuStrip()};
        return RunThemingAction(run, {.kind = ActionRequest::Kind::Untheme, .history = HistoryUpdate::Forget},
                                display.Executables(), display);
    }();
    ShowCurrentInTooltip();
    host_.Report(report);
}
