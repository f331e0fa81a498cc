#include "theming/ThemingService.h"

#include "history/HistoryLines.h"
#include "manifest/ManifestForExecutable.h"

ThemingService::ThemeOutcome ThemingService::Theme(const std::wstring& executablePath,
                                                   const ManifestDetails& details) {
    ThemeOutcome outcome;
    outcome.written = WriteManifestForExecutable(executablePath, details);
    if (outcome.written) {
        outcome.recorded = history_.Record(ManifestPathFor(executablePath),
                                           HistoryValueFor(details.product, details.description));
    }
    return outcome;
}

bool ThemingService::Untheme(const std::wstring& manifestPath) {
    return RemoveManifest(manifestPath) != RemovalOutcome::NotRemoved;
}
