#include "manifest/RemovalPlan.h"

#include "manifest/ManifestFile.h"
#include "manifest/RecycleBin.h"
#include "platform/LongPath.h"
#include "platform/PathLinks.h"

RemovalPlan PlanManifestRemoval(const std::wstring& manifestPath) {
    const auto kept = [](ManifestFailure failure) { return RemovalPlan{RemovalOutcome::NotRemoved, failure}; };
    // A manifest is removed only where the path leads as it reads, checked at that moment.
    if (PassesThroughLink(manifestPath)) return kept(ManifestFailure::BehindLink);
    const DWORD attributes = GetFileAttributesW(PathForFileCalls(manifestPath).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return kept(FailureFromError(GetLastError()));
    // Only a file of a manifest's name is removed; a reparse point the link check above cannot
    // take apart (a path given in \\?\ form) would lead the removal elsewhere.
    if (!HasManifestName(manifestPath) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return kept(ManifestFailure::NotAManifest);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return kept(ManifestFailure::InTheWay);
    switch (ClassifyManifest(manifestPath)) {
        case ManifestKind::Unreadable:
            return kept(ManifestFailure::InUse);
        case ManifestKind::OwnDocument:
            return {RemovalOutcome::Removed, ManifestFailure::None, attributes};
        case ManifestKind::Foreign:
            break;
    }
    if (!HasConfirmedRecycleBin(FullPathName(manifestPath).value_or(manifestPath))) {
        return kept(ManifestFailure::Foreign);
    }
    return {RemovalOutcome::SentToRecycleBin, ManifestFailure::None, attributes};
}
