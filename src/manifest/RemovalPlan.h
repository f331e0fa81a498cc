#pragma once
#include <string>

#include "manifest/ManifestFailure.h"
#include "manifest/ManifestFile.h"

// What the removal rule of RemoveManifest would do with a manifest as it stands now, decided by
// the same checks without touching anything: what a dry run tells.
struct RemovalPlan {
    // Removed (deleted outright), SentToRecycleBin, or NotRemoved with the failure that keeps it.
    RemovalOutcome outcome = RemovalOutcome::NotRemoved;
    ManifestFailure failure = ManifestFailure::None;
};

RemovalPlan PlanManifestRemoval(const std::wstring& manifestPath);
