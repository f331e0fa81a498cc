#include "batch/BatchApply.h"

#include "manifest/ManifestFile.h"
#include "platform/VersionInfo.h"
#include "theming/OutcomeReport.h"

ThemingService::ThemeOutcome BatchApply::ThemeWithVersionDetails(const std::wstring& executable) {
    if (!IsFilePresent(executable)) return {ManifestFailure::Missing};
    VersionInfo version;
    version.SetFileName(executable);
    const ManifestDetails details{version.CompanyName(), version.ProductName(), version.OriginalFileName(),
                                  version.FileDescription()};
    return theming_.Theme(executable, details, ownManifests_);
}

FailureReport BatchApply::Run(SearchMode searched, const std::vector<std::wstring>& executables, ApplyHost& host) {
    const bool removing = searched == SearchMode::Themed;
    FailureReport report(removing ? FailureReport::Action::Untheme : FailureReport::Action::Theme);
    for (size_t index = 0; index < executables.size() && !host.StopRequested(); ++index) {
        const std::wstring& executable = executables[index];
        host.Starting(index);
        bool done = false;
        if (removing) {
            const ThemingService::UnthemeOutcome outcome = theming_.RemoveTheme(ManifestPathFor(executable));
            done = outcome.failure == ManifestFailure::None;
            ReportOutcome(report, executable, outcome);
        } else {
            const ThemingService::ThemeOutcome outcome = ThemeWithVersionDetails(executable);
            done = outcome.written();
            ReportOutcome(report, executable, outcome);
        }
        host.Finished(index, done);
        host.YieldToWindow();
    }
    return report;
}
