#include "manifest/RemovalPlan.h"

#include <windows.h>

#include "manifest/ManifestDocument.h"
#include "manifest/RecycleBin.h"
#include "platform/LongPath.h"

RemovalPlan PlanManifestRemoval(const std::wstring& manifestPath) {
    const auto kept = [](ManifestFailure failure) { return RemovalPlan{RemovalOutcome::NotRemoved, failure}; };
    const DWORD attributes = GetFileAttributesW(PathForFileCalls(manifestPath).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return kept(FailureFromError(GetLastError()));
    if (!HasManifestName(manifestPath) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return kept(ManifestFailure::NotAManifest);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return kept(ManifestFailure::InTheWay);
    const std::optional<std::string> bytes = ReadManifestFile(manifestPath);
    if (!bytes) return kept(ManifestFailure::InUse);
    if (IsOwnManifestDocument(DecodeManifestBytes(*bytes))) return {RemovalOutcome::Removed};
    if (!HasConfirmedRecycleBin(FullPathName(manifestPath).value_or(manifestPath))) {
        return kept(ManifestFailure::Foreign);
    }
    return {RemovalOutcome::SentToRecycleBin};
}
