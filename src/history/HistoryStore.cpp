#include "history/HistoryStore.h"

#include <windows.h>

#include <map>

#include "history/HistoryLines.h"
#include "history/HistoryLock.h"
#include "history/ManifestPresence.h"
#include "platform/IniEditor.h"
#include "platform/ProfileRewrite.h"
#include "platform/VolumeReach.h"

namespace {

constexpr wchar_t kHistorySection[] = L"Main";

}  // namespace

HistoryStore::HistoryStore(std::wstring file) : file_(std::move(file)) {}

bool HistoryStore::Record(const std::wstring& manifestPath, const std::wstring& value) {
    const HistoryLock lock(file_);
    return WriteProfileValue({file_, kHistorySection}, HistoryKeyFor(manifestPath), StoredHistoryValue(value));
}

HistoryStore::Listing HistoryStore::List() {
    std::vector<ProfileEntry> rows;
    {
        // Another copy's write replaces the file: read it whole, not half-written.
        const HistoryLock lock(file_);
        if (!MakeProfileReadable(file_)) return {{}, Trouble::Unreadable};
        ForgetCachedProfile(file_);
        rows = ReadSectionEntries({file_, kHistorySection});
    }

    // Lines that name no manifest of ours (planted, or written by hand) stay as they are.
    std::vector<std::wstring> manifestPaths;
    std::vector<const std::wstring*> values;
    manifestPaths.reserve(rows.size());
    values.reserve(rows.size());
    for (const ProfileEntry& row : rows) {
        std::wstring manifestPath = ManifestPathOfHistoryKey(row.key);
        if (!IsHistoryEntryPath(manifestPath)) continue;
        manifestPaths.push_back(std::move(manifestPath));
        values.push_back(&row.value);
    }
    const std::vector<bool> present = PresentManifests(manifestPaths);

    std::vector<Entry> kept;
    std::vector<std::wstring> gone;
    std::map<std::wstring, bool> reachableVolumes;
    for (size_t i = 0; i < manifestPaths.size(); ++i) {
        const std::wstring& manifestPath = manifestPaths[i];
        if (!present[i]) {
            // An unplugged drive or an offline share says nothing about the manifest: keep it.
            const std::wstring root = VolumeRootOf(manifestPath);
            auto known = reachableVolumes.find(root);
            if (known == reachableVolumes.end()) {
                known = reachableVolumes.emplace(root, IsVolumeReachable(manifestPath)).first;
            }
            if (known->second) {
                gone.push_back(manifestPath);
                continue;
            }
        }
        kept.push_back({manifestPath, *values[i]});
    }
    const bool updated = gone.empty() || Drop(gone);
    return {std::move(kept), updated ? Trouble::None : Trouble::NotUpdated};
}

bool HistoryStore::Drop(const std::vector<std::wstring>& manifestPaths) {
    std::vector<std::wstring> keys;
    keys.reserve(manifestPaths.size());
    for (const std::wstring& path : manifestPaths) keys.push_back(HistoryKeyFor(path));
    const HistoryLock lock(file_);
    return RemoveSectionKeys({file_, kHistorySection}, keys);
}

bool HistoryStore::Forget(const std::wstring& manifestPath) { return Drop({manifestPath}); }
