#include "theming/ThemingAction.h"

#include "manifest/ManifestFile.h"

FailureReport RunThemingAction(ThemingRun& run, const ActionRequest& request,
                               const std::vector<std::wstring>& executables, ActionHost& host) {
    const bool theming = request.kind == ActionRequest::Kind::Theme;
    FailureReport report(theming ? FailureReport::Action::Theme : FailureReport::Action::Untheme);
    for (size_t index = 0; index < executables.size() && !host.StopRequested(); ++index) {
        const std::wstring& executable = executables[index];
        if (!host.Starting(index)) continue;
        ProgramOutcome outcome;
        if (theming) {
            const std::optional<ManifestDetails> given = host.GivenDetails(index);
            outcome = run.Theme(executable, given ? DetailsChoice(*given) : request.details);
        } else {
            outcome = run.Untheme(ManifestPathFor(executable), request.history);
        }
        report.Add(outcome);
        host.Finished(index, outcome);
    }
    report.Add(run.CommitHistory());
    return report;
}
