#include "manifest/RemovalPlan.h"

#include "manifest/ManifestDocument.h"
#include "manifest/RecycleBin.h"
#include "platform/LongPath.h"
#include "platform/PathLinks.h"

RemovalPlan PlanManifestRemoval(const std::wstring& manifestPath) {
    const auto kept = [](ManifestFailure failure) { return RemovalPlan{RemovalOutcome::NotRemoved, failure}; };
    // A manifest is removed only where the path leads as it reads, checked at that moment.
    if (PassesThroughLink(manifestPath)) return kept(ManifestFailure::BehindLink);
    const DWORD attributes = GetFileAttributesW(PathForFileCalls(manifestPath).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return kept(FailureFromError(GetLastError()));
    // A link or junction would lead the removal elsewhere; only the file itself is ours.
    if (!HasManifestName(manifestPath) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return kept(ManifestFailure::NotAManifest);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return kept(ManifestFailure::InTheWay);
    const std::optional<std::string> bytes = ReadManifestFile(manifestPath);
    if (!bytes) return kept(ManifestFailure::InUse);
    if (IsOwnManifestDocument(DecodeManifestBytes(*bytes))) {
        return {RemovalOutcome::Removed, ManifestFailure::None, attributes};
    }
    if (!HasConfirmedRecycleBin(FullPathName(manifestPath).value_or(manifestPath))) {
        return kept(ManifestFailure::Foreign);
    }
    return {RemovalOutcome::SentToRecycleBin, ManifestFailure::None, attributes};
}
