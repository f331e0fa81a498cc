#include "theming/ThemingService.h"

#include "history/HistoryLines.h"
#include "manifest/ManifestFile.h"
#include "manifest/ManifestForExecutable.h"

ThemingService::ThemeOutcome ThemingService::Theme(const std::wstring& executablePath,
                                                   const ManifestDetails& details) {
    ThemeOutcome outcome;
    outcome.failure = WriteManifestForExecutable(executablePath, details).failure;
    if (outcome.written()) {
        outcome.recorded = history_.Record(ManifestPathFor(executablePath),
                                           HistoryValueFor(details.product, details.description));
    }
    return outcome;
}

ManifestFailure ThemingService::Untheme(const std::wstring& manifestPath) {
    const ManifestFailure failure = RemoveManifest(manifestPath, yieldDuringRemoval_).failure;
    return failure == ManifestFailure::Missing ? ManifestFailure::None : failure;
}
