#include <windows.h>

#include "app/ControlIds.h"
#include "app/DisabledControls.h"
#include "app/MainForm.h"
#include "history/HistoryLines.h"
#include "manifest/ManifestFile.h"
#include "platform/IniEditor.h"

namespace {

const FontSpec kSignFont{L"Arial", 14.25, true, false};
const FontSpec kCaptionFont{L"Arial", 8.25, true, false};

}  // namespace

void MainForm::CreateHistoryPanel() {
    cmdHistorySelAll = AddButton(picHistory, L"+", kCmdHistorySelAll, kSignFont, 120, 4200, 495, 375, L"Select All");
    cmdHistoryUnselAll =
        AddButton(picHistory, L"-", kCmdHistoryUnselAll, kSignFont, 600, 4200, 495, 375, L"Deselect All");
    cmdHistoryRemoveTheme = AddButton(picHistory, L"Untheme Selected Applications", kCmdHistoryRemoveTheme,
                                      kCaptionFont, 1080, 4200, 3855, 375);
    lstHistory.onClick = [this] { lstHistory_Click(); };
    AddTooltip(lstHistory.Handle(), L"");
}

bool MainForm::HandleHistoryCommand(int id, WORD notification) {
    if (notification != BN_CLICKED) return false;
    switch (id) {
        case kCmdHistorySelAll:
            cmdHistorySelAll_Click();
            return true;
        case kCmdHistoryUnselAll:
            cmdHistoryUnselAll_Click();
            return true;
        case kCmdHistoryRemoveTheme:
            cmdHistoryRemoveTheme_Click();
            return true;
        default:
            return false;
    }
}

std::optional<std::wstring> MainForm::HistoryManifestPathOf(int index) const {
    const std::optional<size_t> position = PositionOfDisplayText(lstHistory.Text(index));
    if (!position || *position >= lstTempHistory.size()) return std::nullopt;
    return lstTempHistory[*position];
}

void MainForm::lstHistory_Click() {
    const int current = lstHistory.Current();
    if (current < 0) return;
    if (const auto manifestPath = HistoryManifestPathOf(current)) {
        SetTooltip(lstHistory.Handle(), ExecutablePathOfManifest(*manifestPath));
    }
}

void MainForm::cmdHistorySelAll_Click() { lstHistory.SetAllTicked(true); }

void MainForm::cmdHistoryUnselAll_Click() { lstHistory.SetAllTicked(false); }

// Ticked items go one at a time from the top, each pass starting again after a removal. A
// manifest already gone stays listed and ticked (the next load drops its entry); one that cannot
// be removed keeps its entry and is unticked, so it is not tried again in the same action.
void MainForm::cmdHistoryRemoveTheme_Click() {
    LongAction action(*this);
    DisabledControls disabled{cmdHistoryRemoveTheme, OutlookBar};
    bool removedInPass = true;
    while (removedInPass && !ShouldStop()) {
        removedInPass = false;
        const int count = lstHistory.Count();
        for (int i = 0; i < count; ++i) {
            if (!lstHistory.IsTicked(i)) continue;
            const std::optional<std::wstring> manifestPath = HistoryManifestPathOf(i);
            if (!manifestPath || !IsManifestPresent(*manifestPath)) continue;
            if (RemoveManifest(*manifestPath) == RemovalOutcome::NotRemoved) {
                lstHistory.SetTicked(i, false);
                continue;
            }
            DeleteProfileKey({HistoryFilePath(), L"Main"}, HistoryKeyFor(*manifestPath));
            lstHistory.RemoveAt(i);
            removedInPass = true;
            break;
        }
    }
}
