#include "theming/OutcomeReport.h"

void ReportOutcome(FailureReport& report, const std::wstring& executablePath,
                   const ThemingService::ThemeOutcome& outcome) {
    if (!outcome.written()) {
        report.Add(executablePath, outcome.failure, outcome.platformError);
        return;
    }
    if (!outcome.recorded) report.HistoryNotRecorded();
    if (outcome.loaderMayRemember) report.Notes().LoaderMayRemember(executablePath);
    if (outcome.ownManifest == OwnManifest::AsksForCommonControls6) report.Notes().ThemedByOwnManifest(executablePath);
}

void ReportOutcome(FailureReport& report, const std::wstring& executablePath,
                   const ThemingService::UnthemeOutcome& outcome) {
    if (outcome.failure != ManifestFailure::None) report.Add(executablePath, outcome.failure);
    if (outcome.loaderMayRemember) report.Notes().LoaderMayRemember(executablePath);
}
