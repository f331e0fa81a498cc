#pragma once
#include <windows.h>

#include <string>

#include "manifest/ManifestFailure.h"
#include "manifest/ManifestFile.h"

// What the removal rule does with a manifest as it stands now, decided without touching
// anything: RemoveManifest carries it out, and a dry run tells it.
struct RemovalPlan {
    // Removed (deleted outright), SentToRecycleBin, or NotRemoved with the failure that keeps it.
    RemovalOutcome outcome = RemovalOutcome::NotRemoved;
    ManifestFailure failure = ManifestFailure::None;
    // The manifest's attributes as found, put back when the removal fails half-way.
    DWORD attributes = 0;
};

RemovalPlan PlanManifestRemoval(const std::wstring& manifestPath);
