#include <windows.h>

#include <map>

#include "app/MainForm.h"
#include "history/HistoryLines.h"
#include "history/ManifestPresence.h"
#include "platform/IniEditor.h"
#include "platform/VolumeReach.h"

namespace {

constexpr wchar_t kHistorySection[] = L"Main";

}  // namespace

void MainForm::AddToHistory(const std::wstring& manifestPath, const std::wstring& value) {
    WriteProfileValue({HistoryFilePath(), kHistorySection}, HistoryKeyFor(manifestPath), StoredHistoryValue(value));
}

void MainForm::LoadHistory() {
    const ProfileTarget history{HistoryFilePath(), kHistorySection};
    const std::vector<ProfileEntry> rows = ReadSectionEntries(history);
    lstHistory.Clear();
    lstTempHistory.clear();

    std::vector<std::wstring> manifestPaths;
    manifestPaths.reserve(rows.size());
    for (const ProfileEntry& row : rows) manifestPaths.push_back(ManifestPathOfHistoryKey(row.key));
    const std::vector<bool> present = PresentManifests(manifestPaths);

    std::vector<ProfileEntry> kept;
    std::vector<std::wstring> lines;
    std::map<std::wstring, bool> reachableVolumes;
    for (size_t i = 0; i < rows.size(); ++i) {
        const ProfileEntry& row = rows[i];
        const std::wstring& manifestPath = manifestPaths[i];
        if (!present[i]) {
            // An unplugged drive or an offline share says nothing about the manifest: keep it.
            const std::wstring root = VolumeRootOf(manifestPath);
            auto known = reachableVolumes.find(root);
            if (known == reachableVolumes.end()) {
                known = reachableVolumes.emplace(root, IsVolumeReachable(manifestPath)).first;
            }
            if (known->second) continue;
        }
        lines.push_back(HistoryDisplayText(row.value, manifestPath, lstTempHistory.size()));
        lstTempHistory.push_back(manifestPath);
        kept.push_back(row);
    }
    if (kept.size() != rows.size() && !WriteSectionEntries(history, kept)) {
        // A section the one-pass rewrite refuses is pruned key by key instead.
        size_t next = 0;
        for (const ProfileEntry& row : rows) {
            if (next < kept.size() && kept[next].key == row.key) {
                ++next;
            } else {
                DeleteProfileKey(history, row.key);
            }
        }
    }
    lstHistory.AddMany(lines);
}
