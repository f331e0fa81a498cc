#include <vector>

#include "cli/Commands.h"
#include "cli/StopRequest.h"
#include "history/HistoryLines.h"
#include "history/HistoryStanding.h"
#include "manifest/ManifestFile.h"
#include "manifest/RemovalPlan.h"
#include "theming/OutcomeText.h"
#include "theming/ThemingService.h"

namespace {

class Remover {
public:
    explicit Remover(const CommandContext& context)
        : context_(context),
          streams_(context.streams),
          dryRun_(context.line.Has(L"dry-run")),
          history_(context.files.history),
          theming_(history_),
          run_(theming_) {}

    // A manifest that is there, by the removal rule, and its history entry; a dry run tells what
    // the rule would do.
    void Remove(const std::wstring& manifest) {
        if (dryRun_) {
            TellPlan(manifest);
            return;
        }
        const ProgramOutcome outcome = run_.Untheme(manifest, HistoryUpdate::Forget);
        if (!outcome.Done()) {
            streams_.Complain(L"could not remove " + manifest + L": " + FailureReason(outcome.failure) + L".");
            tally_.Failed();
            return;
        }
        streams_.Say(L"removed: " + manifest);
        TellNotes(streams_, outcome);
        tally_.Done();
    }

    // The entry of a manifest that is no longer there.
    void Forget(const std::wstring& manifest) {
        streams_.Say((dryRun_ ? L"would forget: " : L"forgot: ") + manifest);
        tally_.Done();
        if (!dryRun_) run_.Forget(manifest);
    }

    void TellNotThemed(const std::wstring& manifest) {
        streams_.Say(L"not themed: " + ExecutablePathOfManifest(manifest));
    }

    void TellUnreachable(const std::wstring& manifest) {
        streams_.Complain(manifest + L": its drive or share cannot be reached now, so its entry stays.");
        tally_.Failed();
    }

    ExitCode End() {
        TellHistoryKept(context_, run_.CommitHistory(), tally_);
        ReportStop(streams_, tally_);
        return tally_.Code();
    }

private:
    void TellPlan(const std::wstring& manifest) {
        const RemovalPlan plan = PlanManifestRemoval(manifest);
        switch (plan.outcome) {
            case RemovalOutcome::Removed:
                streams_.Say(L"would remove: " + manifest);
                break;
            case RemovalOutcome::SentToRecycleBin:
                streams_.Say(L"would send to the Recycle Bin: " + manifest);
                break;
            case RemovalOutcome::NotRemoved:
                streams_.Complain(L"could not remove " + manifest + L": " + FailureReason(plan.failure) + L".");
                tally_.Failed();
                return;
        }
        tally_.Done();
    }

    const CommandContext& context_;
    Streams& streams_;
    const bool dryRun_;
    HistoryStore history_;
    ThemingService theming_;
    ThemingRun run_;
    Tally tally_;
};

ExitCode UnthemeFromHistory(const CommandContext& context) {
    if (!context.line.operands.empty()) return UsageError(context.streams, L"--from-history takes no paths.");
    const std::optional<std::vector<HistoryStore::Entry>> read = ReadHistory(context);
    if (!read) return ExitCode::SomeFailed;
    const std::vector<HistoryStore::Entry>& entries = *read;
    if (entries.empty()) {
        context.streams.Say(L"The history lists no programs.");
        return ExitCode::NothingToDo;
    }
    const std::vector<ManifestStanding> standing = StandingOfManifests(entries);

    Remover remover(context);
    for (size_t i = 0; i < entries.size() && !StopRequested(); ++i) {
        const std::wstring& manifest = entries[i].manifestPath;
        switch (standing[i]) {
            case ManifestStanding::Present:
                remover.Remove(manifest);
                break;
            case ManifestStanding::Gone:
                remover.Forget(manifest);
                break;
            case ManifestStanding::Unreachable:
                remover.TellUnreachable(manifest);
                break;
        }
    }
    return remover.End();
}

// The manifest an operand names: a manifest path itself, or a program's. Empty, with the reason
// in `error`, when it names neither or neither is there.
std::wstring ManifestOfOperand(const std::wstring& operand, std::wstring& error) {
    const std::optional<std::wstring> path = FullUserPath(operand);
    if (!path) {
        ExistingPathOf(operand, error);
        return {};
    }
    if (!HasManifestName(*path) && !HasProgramName(*path)) {
        error = KindOfPath(*path) == PathKind::Missing
                    ? *path + L": not found."
                    : *path + L": is no program or manifest (a file whose name ends in .exe or .exe.manifest).";
        return {};
    }
    const std::wstring manifest = HasManifestName(*path) ? *path : ManifestPathFor(*path);
    // A program that is gone may still have left its manifest behind.
    if (KindOfPath(*path) == PathKind::Missing && KindOfPath(manifest) == PathKind::Missing) {
        error = *path + L": not found.";
        return {};
    }
    return manifest;
}

}  // namespace

ExitCode RunUntheme(const CommandContext& context) {
    if (context.line.Has(L"from-history")) return UnthemeFromHistory(context);
    if (context.line.operands.empty()) {
        return UsageError(context.streams, L"untheme needs a program or a manifest, or --from-history.");
    }
    std::vector<std::wstring> manifests;
    for (const std::wstring& operand : context.line.operands) {
        std::wstring error;
        std::wstring manifest = ManifestOfOperand(operand, error);
        if (manifest.empty()) return UsageError(context.streams, error);
        manifests.push_back(std::move(manifest));
    }

    Remover remover(context);
    for (const std::wstring& manifest : manifests) {
        if (StopRequested()) break;
        if (IsManifestPresent(manifest)) {
            remover.Remove(manifest);
        } else {
            remover.TellNotThemed(manifest);
        }
    }
    return remover.End();
}
