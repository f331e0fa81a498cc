#include "manifest/OwnManifestReadings.h"

OwnManifest OwnManifestReadings::Of(const std::wstring& executablePath) {
    const auto known = read_.find(executablePath);
    if (known != read_.end()) return known->second;
    const OwnManifest kind = ClassifyOwnManifest(executablePath);
    read_.emplace(executablePath, kind);
    return kind;
}
