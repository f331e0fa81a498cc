#include <windows.h>

#include <algorithm>
#include <map>

#include "app/MainForm.h"
#include "history/HistoryLines.h"
#include "manifest/ManifestFile.h"
#include "platform/IniEditor.h"
#include "platform/VolumeReach.h"

namespace {

constexpr wchar_t kHistorySection[] = L"Main";

// The order the sorted history list keeps its lines in.
bool ListsBefore(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                          b.c_str(), static_cast<int>(b.size())) == CSTR_LESS_THAN;
}

}  // namespace

void MainForm::AddToHistory(const std::wstring& manifestPath, const std::wstring& value) {
    ProfileFile = HistoryFilePath();
    ProfileSection = kHistorySection;
    WriteProfileValue(HistoryKeyFor(manifestPath), value);
}

void MainForm::LoadHistory() {
    ProfileFile = HistoryFilePath();
    ProfileSection = kHistorySection;
    const std::vector<ProfileEntry> rows = ReadSectionEntries();
    lstHistory.Clear();
    lstTempHistory.clear();

    std::vector<ProfileEntry> kept;
    std::vector<std::wstring> lines;
    std::map<std::wstring, bool> reachableVolumes;
    for (const ProfileEntry& row : rows) {
        const std::wstring manifestPath = ManifestPathOfHistoryKey(row.key);
        if (!IsManifestPresent(manifestPath)) {
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
    if (kept.size() != rows.size() && !WriteSectionEntries(kept)) {
        // A section the one-pass rewrite refuses is pruned key by key instead.
        size_t next = 0;
        for (const ProfileEntry& row : rows) {
            if (next < kept.size() && kept[next].key == row.key) {
                ++next;
            } else {
                DeleteProfileKey(row.key);
            }
        }
    }
    // Added in the list's own order, every line lands at the end: loading stays linear.
    std::sort(lines.begin(), lines.end(), ListsBefore);
    lstHistory.AddMany(lines);
}
