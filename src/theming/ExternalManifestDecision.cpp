#include "theming/ExternalManifestDecision.h"

#include <utility>

ExternalManifestDecision::ExternalManifestDecision(const std::vector<std::wstring>& executablePaths,
                                                   OwnManifestReadings& ownManifests, WindowsVersion windows,
                                                   SideBySideKey key)
    : key_(std::move(key)) {
    neverDue_ = !windows.IsVistaOrLater() || ExternalManifestsPreferred(key_);
    if (neverDue_) return;
    for (const std::wstring& path : executablePaths) {
        if (ownManifests.Of(path) == OwnManifest::WithoutCommonControls6) hiddenFiles_.push_back(path);
    }
}

ExternalManifestDecision::Decision ExternalManifestDecision::Decide(Answer answer) const {
    if (!Due()) return {};
    switch (answer) {
        case Answer::Cancel:
            return {false, {PreferenceOutcome::Kind::Declined}};
        case Answer::No:
            return {true, {PreferenceOutcome::Kind::Declined}};
        case Answer::Yes:
            break;
    }
    const LONG result = PreferExternalManifests(key_);
    if (result == ERROR_SUCCESS) return {true, {PreferenceOutcome::Kind::Set}};
    return {true, {PreferenceOutcome::Kind::NotSet, result}};
}
