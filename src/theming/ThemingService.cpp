#include "theming/ThemingService.h"

#include "history/HistoryLines.h"
#include "manifest/ManifestFile.h"
#include "platform/LastWriteTime.h"

ThemingService::ThemeOutcome ThemingService::Theme(const std::wstring& executablePath, const ManifestDetails& details,
                                                   OwnManifestReadings& ownManifests) {
    ThemeOutcome outcome;
    const ManifestWrite write = WriteManifestForExecutable(executablePath, details, compose_);
    outcome.failure = write.failure;
    outcome.platformError = write.platformError;
    if (outcome.written()) {
        outcome.recorded = history_.Record(ManifestPathFor(executablePath),
                                           HistoryValueFor(details.product, details.description));
        outcome.loaderMayRemember = !RefreshLoaderCache(executablePath);
        outcome.ownManifest = ownManifests.Of(executablePath);
    }
    return outcome;
}

ThemingService::UnthemeOutcome ThemingService::RemoveTheme(const std::wstring& manifestPath) {
    const ManifestRemoval removal = RemoveManifest(manifestPath, yieldDuringRemoval_);
    if (removal.failure == ManifestFailure::Missing) return {};
    if (removal.outcome == RemovalOutcome::NotRemoved) return {removal.failure};
    return {ManifestFailure::None, !RefreshLoaderCache(ExecutablePathOfManifest(manifestPath))};
}

bool ThemingService::RefreshLoaderCache(const std::wstring& executablePath) const {
    if (!windows_.IsVistaOrLater()) return true;
    const DWORD error = SetLastWriteTimeToNow(executablePath);
    // A manifest without its program leaves the loader nothing to remember.
    return error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
