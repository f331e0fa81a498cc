#include "history/HistoryStanding.h"

#include <map>

#include "history/ManifestPresence.h"
#include "platform/VolumeReach.h"

std::vector<ManifestStanding> StandingOfManifests(const std::vector<HistoryStore::Entry>& entries) {
    std::vector<std::wstring> manifestPaths;
    manifestPaths.reserve(entries.size());
    for (const HistoryStore::Entry& entry : entries) manifestPaths.push_back(entry.manifestPath);
    const std::vector<bool> present = PresentManifests(manifestPaths);
    std::vector<ManifestStanding> standing;
    standing.reserve(manifestPaths.size());
    std::map<std::wstring, bool> reachableVolumes;
    for (size_t i = 0; i < manifestPaths.size(); ++i) {
        if (present[i]) {
            standing.push_back(ManifestStanding::Present);
            continue;
        }
        const std::wstring root = VolumeRootOf(manifestPaths[i]);
        auto known = reachableVolumes.find(root);
        if (known == reachableVolumes.end()) {
            known = reachableVolumes.emplace(root, IsVolumeReachable(manifestPaths[i])).first;
        }
        standing.push_back(known->second ? ManifestStanding::Gone : ManifestStanding::Unreachable);
    }
    return standing;
}
