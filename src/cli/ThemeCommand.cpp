#include <vector>

#include "cli/Commands.h"
#include "cli/ProgramSearch.h"
#include "cli/StopRequest.h"
#include "manifest/ExecutableArchitecture.h"
#include "manifest/ManifestFile.h"
#include "theming/ExternalManifestDecision.h"
#include "theming/OutcomeText.h"
#include "theming/ThemingService.h"

namespace {

// The console program's naming rule: the version resource's details, the name from the file name;
// each option given replaces its detail.
VersionDetails DetailsOf(const CommandLine& line) {
    return {ApplicationNaming::FileName,
            {line.Value(L"company"), line.Value(L"product"), line.Value(L"name"), line.Value(L"description")}};
}

class Themer {
public:
    explicit Themer(const CommandContext& context)
        : context_(context),
          line_(context.line),
          streams_(context.streams),
          history_(context.files.history),
          theming_(history_),
          run_(theming_),
          details_(DetailsOf(line_)) {}

    // A program without a manifest. A dry run reads no program's own manifest.
    void Theme(const std::wstring& program) {
        if (line_.Has(L"dry-run")) {
            streams_.Say(L"would theme: " + program);
            tally_.Done();
            return;
        }
        SettleExternalManifests(program);
        const ProgramOutcome outcome = run_.Theme(program, details_);
        if (!outcome.Done()) {
            streams_.Complain(L"could not theme " + program + L": " +
                              FailureReason(outcome.failure, outcome.platformError) + L".");
            tally_.Failed();
            return;
        }
        streams_.Say(L"themed: " + program);
        TellNotes(streams_, outcome);
        tally_.Done();
    }

    void ThemeNamed(const std::wstring& program) {
        if (IsManifestPresent(ManifestPathFor(program))) {
            streams_.Say(L"already themed: " + program);
        } else {
            Theme(program);
        }
    }

    void ThemeFolder(const std::wstring& folder) {
        const SearchOutcome outcome = SearchFolder(folder, SearchMode::Unthemed, line_.Has(L"recurse"),
                                                   [this](const std::wstring& program) { Theme(program); });
        ReportSearchEnd(folder, outcome, streams_);
    }

    ExitCode End() {
        TellHistoryKept(context_, run_.CommitHistory(), tally_);
        ReportStop(streams_, tally_);
        return tally_.Code();
    }

private:
    // The question the window asks before theming, answered by --prefer-external-manifests: at
    // the first program whose own manifest would hide the manifest beside it, Windows is set to
    // prefer external manifests, or, without the option, each such program is told to keep its
    // old look.
    void SettleExternalManifests(const std::wstring& program) {
        if (externalManifestsSettled_) return;
        const ExternalManifestDecision decision({program}, run_.OwnManifests());
        // Where no program can need it, the registry is not read again for every program.
        if (!decision.Due()) {
            externalManifestsSettled_ = decision.NeverDue();
            return;
        }
        externalManifestsSettled_ = true;
        const bool prefer = line_.Has(L"prefer-external-manifests");
        const PreferenceOutcome preference =
            decision.Decide(prefer ? ExternalManifestDecision::Answer::Yes : ExternalManifestDecision::Answer::No)
                .preference;
        switch (preference.kind) {
            case PreferenceOutcome::Kind::Set:
                streams_.Say(L"set: " + PreferenceValueText());
                return;
            case PreferenceOutcome::Kind::NotSet:
                streams_.Complain(PreferenceText(preference) + L" Run the command as an administrator.");
                tally_.Failed();
                return;
            case PreferenceOutcome::Kind::Declined:
                streams_.Complain(L"To give programs that carry a manifest of their own the new look, run the "
                                  L"command again with --prefer-external-manifests, as an administrator.");
                return;
            case PreferenceOutcome::Kind::NotAsked:
                return;
        }
    }

    const CommandContext& context_;
    const CommandLine& line_;
    Streams& streams_;
    HistoryStore history_;
    ThemingService theming_;
    ThemingRun run_;
    const DetailsChoice details_;
    Tally tally_;
    bool externalManifestsSettled_ = false;
};

}  // namespace

ExitCode RunTheme(const CommandContext& context) {
    if (context.line.operands.empty()) return UsageError(context.streams, L"theme needs a program or a folder.");
    std::vector<ExistingPath> targets;
    for (const std::wstring& operand : context.line.operands) {
        std::wstring error;
        std::optional<ExistingPath> target = ExistingPathOf(operand, error);
        if (!target) return UsageError(context.streams, error);
        if (target->kind == PathKind::File && !HasProgramName(target->path)) {
            return UsageError(context.streams, target->path + L": is no program (a file whose name ends in .exe).");
        }
        // A manifest beside a file that Windows does not load as a program does nothing.
        if (target->kind == PathKind::File && !ReadProgramArchitecture(target->path)) {
            return UsageError(context.streams, target->path + L": is no Windows program: it could not be read as one.");
        }
        targets.push_back(std::move(*target));
    }

    Themer themer(context);
    for (const ExistingPath& target : targets) {
        if (StopRequested()) break;
        if (target.kind == PathKind::Folder) {
            themer.ThemeFolder(target.path);
        } else {
            themer.ThemeNamed(target.path);
        }
    }
    return themer.End();
}
