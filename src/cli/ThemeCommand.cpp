#include <vector>

#include "cli/Commands.h"
#include "cli/ProgramSearch.h"
#include "cli/StopRequest.h"
#include "manifest/ExecutableArchitecture.h"
#include "manifest/ManifestFile.h"
#include "platform/ErrorText.h"
#include "platform/VersionInfo.h"
#include "theming/ExternalManifestPreference.h"
#include "theming/ExternalManifestQuestion.h"
#include "theming/FailureReport.h"
#include "theming/ThemingService.h"

namespace {

std::wstring FileNameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

// From the program's version resource, as the Vestrim panel fills its boxes; each option given
// replaces its detail.
ManifestDetails DetailsFor(const std::wstring& program, const CommandLine& line) {
    VersionInfo version;
    version.SetFileName(program);
    return {line.Value(L"company").value_or(version.CompanyName()),
            line.Value(L"product").value_or(version.ProductName()),
            line.Value(L"name").value_or(FileNameOf(program)),
            line.Value(L"description").value_or(version.FileDescription())};
}

class Themer {
public:
    explicit Themer(const CommandContext& context)
        : line_(context.line), streams_(context.streams), history_(context.files.history), theming_(history_) {}

    // A program without a manifest. A dry run reads no program's own manifest.
    void Theme(const std::wstring& program) {
        if (line_.Has(L"dry-run")) {
            streams_.Say(L"would theme: " + program);
            tally_.Done();
            return;
        }
        // Read once for the question and the note.
        OwnManifestReadings ownManifests;
        SettleExternalManifests(program, ownManifests);
        const ThemingService::ThemeOutcome outcome = theming_.Theme(program, DetailsFor(program, line_), ownManifests);
        if (!outcome.written()) {
            streams_.Complain(L"could not theme " + program + L": " +
                              FailureReason(outcome.failure, outcome.platformError) + L".");
            tally_.Failed();
            return;
        }
        streams_.Say(L"themed: " + program);
        if (outcome.ownManifest == OwnManifest::AsksForCommonControls6) {
            streams_.Complain(L"note: " + program + L": its own manifest already gives it the Windows XP look.");
        }
        if (outcome.loaderMayRemember) TellChangeShowsAfterRestart(streams_, program);
        if (outcome.recorded) {
            tally_.Done();
        } else {
            streams_.Complain(program + L": themed, but the history file could not record it, so History will "
                                        L"not list it.");
            tally_.Failed();
        }
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
        ReportSearchEnd(folder, outcome, streams_, tally_);
    }

    ExitCode End() {
        ReportStop(streams_, tally_);
        return tally_.Code();
    }

private:
    // The question the window asks before theming, answered by --prefer-external-manifests: at
    // the first program whose own manifest would hide the manifest beside it, Windows is set to
    // prefer external manifests, or, without the option, the user is told once.
    void SettleExternalManifests(const std::wstring& program, OwnManifestReadings& ownManifests) {
        if (externalManifestsSettled_) return;
        if (!ExternalManifestQuestion({program}, ownManifests).Due()) return;
        externalManifestsSettled_ = true;
        const SideBySideKey key;
        const std::wstring value = L"HKEY_LOCAL_MACHINE\\" + key.path + L"\\" + kPreferExternalManifest;
        if (!line_.Has(L"prefer-external-manifests")) {
            streams_.Complain(L"warning: " + program + L" carries a manifest of its own, which this version of "
                              L"Windows takes over the manifest beside it unless external manifests are preferred: "
                              L"it keeps its look, as does any other program like it. Run the command again with "
                              L"--prefer-external-manifests, as an administrator, to prefer them.");
            return;
        }
        const LONG result = PreferExternalManifests(key);
        if (result == ERROR_SUCCESS) {
            streams_.Say(L"set: " + value + L" = 1");
            return;
        }
        streams_.Complain(L"could not set " + value + L" to 1 (" + PlatformErrorText(static_cast<DWORD>(result)) +
                          L"): the programs that carry a manifest of their own keep their look. Run the command "
                          L"as an administrator.");
        tally_.Failed();
    }

    const CommandLine& line_;
    Streams& streams_;
    HistoryStore history_;
    ThemingService theming_;
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
