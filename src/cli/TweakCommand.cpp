#include <vector>

#include "cli/Commands.h"
#include "cli/StopRequest.h"
#include "platform/TextFunctions.h"
#include "settings/SettingsCatalogue.h"
#include "settings/TweakStatusText.h"
#include "settings/TweakTicks.h"

namespace {

struct TweakName {
    std::wstring group;
    std::wstring name;
    Tweak tweak;  // its entries, read with its group
};

// "on" when the registry holds its on texts, "off" when it holds its off texts, "other" for a
// one-value tweak whose value is neither (which the Settings panel leaves ticked as it was).
std::wstring StateOf(const Tweak& tweak) {
    if (RefreshedTick(tweak, false)) return L"on";
    return RefreshedTick(tweak, true) ? L"other" : L"off";
}

class TweakCommand {
public:
    explicit TweakCommand(const CommandContext& context)
        : line_(context.line), streams_(context.streams), catalogue_(context.files.catalogue) {}

    ExitCode Run() {
        const std::wstring action = line_.operands.empty() ? L"" : UpperCase(line_.operands[0]);
        const bool applying = action == L"APPLY";
        if (!applying && action != L"LIST" && action != L"REFRESH") {
            return UsageError(streams_, L"tweak needs list, refresh or apply.");
        }
        if (applying ? line_.Value(L"format").has_value() : line_.operands.size() > 1) {
            return UsageError(streams_, applying ? L"--format goes with tweak list and tweak refresh."
                                                 : L"tweak " + line_.operands[0] + L" takes no names.");
        }
        if (!applying && (line_.Has(L"off") || line_.Has(L"dry-run"))) {
            return UsageError(streams_, L"--off and --dry-run go with tweak apply.");
        }
        const std::optional<std::vector<std::wstring>> groups = ListSettingsGroups(catalogue_);
        if (!groups) {
            streams_.Complain(catalogue_ + L": the tweak catalogue cannot be read; it ships beside the program.");
            return ExitCode::SomeFailed;
        }
        std::wstring error;
        if (!CollectTweaks(*groups, error)) return UsageError(streams_, error);
        if (applying) return Apply();
        return List(action == L"REFRESH");
    }

private:
    // The tweaks of every group, or of the one --group names.
    bool CollectTweaks(const std::vector<std::wstring>& groups, std::wstring& error) {
        const std::optional<std::wstring> chosen = line_.Value(L"group");
        bool groupFound = !chosen;
        for (const std::wstring& group : groups) {
            if (chosen && !SameTextIgnoringCase(group, *chosen)) continue;
            groupFound = true;
            const CatalogueGroup read = CatalogueGroup::Read(catalogue_, group);
            for (std::wstring& name : read.TweakNames()) {
                Tweak tweak = read.TweakNamed(name);
                tweaks_.push_back({group, std::move(name), std::move(tweak)});
            }
        }
        if (!groupFound) error = L"the catalogue has no group \"" + *chosen + L"\".";
        return groupFound;
    }

    ExitCode List(bool withState) {
        std::wstring error;
        const std::optional<TableFormat> format = ChosenFormat(line_, error);
        if (!format) return UsageError(streams_, error);
        Table table{{L"group", L"tweak"}, {}};
        if (withState) table.columns.push_back(L"state");
        for (const TweakName& tweak : tweaks_) {
            table.rows.push_back({tweak.group, tweak.name});
            if (withState) table.rows.back().push_back(StateOf(tweak.tweak));
        }
        const size_t groupWidth = WidestIn(table, 0);
        const auto textLine = [groupWidth, withState](const std::vector<std::wstring>& row) {
            const std::wstring line = PaddedTo(row[0], groupWidth) + L"  " + row[1];
            return withState ? PaddedTo(row[2], 5) + L"  " + line : line;
        };
        WriteTable(table, *format, textLine, streams_);
        return tweaks_.empty() ? ExitCode::NothingToDo : ExitCode::Done;
    }

    // Names the tweak each operand names, letter case ignored; all must be found before any is set.
    ExitCode Apply() {
        if (line_.operands.size() < 2) return UsageError(streams_, L"tweak apply needs the name of a tweak.");
        std::vector<TweakName> chosen;
        for (size_t i = 1; i < line_.operands.size(); ++i) {
            std::vector<TweakName> matches;
            for (const TweakName& tweak : tweaks_) {
                if (SameTextIgnoringCase(tweak.name, line_.operands[i])) matches.push_back(tweak);
            }
            if (matches.empty()) {
                return UsageError(streams_, L"no tweak is named \"" + line_.operands[i] +
                                                L"\"; tweak list shows their names.");
            }
            if (matches.size() > 1) {
                return UsageError(streams_, L"\"" + line_.operands[i] +
                                                L"\" is a tweak of more than one group; name one with --group.");
            }
            chosen.push_back(matches.front());
        }
        const bool on = !line_.Has(L"off");
        Tally tally;
        for (const TweakName& name : chosen) {
            if (StopRequested()) break;
            Set(name, on, tally);
        }
        ReportStop(streams_, tally);
        return tally.Code();
    }

    void Set(const TweakName& name, bool on, Tally& tally) {
        const std::wstring state = on ? L"on" : L"off";
        // As theme leaves a themed program: a tweak already so needs nothing, and counts as nothing done.
        if (StateOf(name.tweak) == state) {
            streams_.Say(L"already " + state + L": " + name.name);
            return;
        }
        const bool dryRun = line_.Has(L"dry-run");
        const TweakStatus status = dryRun ? CheckTweak(name.tweak, on) : ApplyTweak(name.tweak, on);
        if (!status.Written()) {
            streams_.Complain(TweakNotSetText({name.name, status}));
            tally.Failed();
            return;
        }
        if (dryRun) {
            streams_.Say(L"would set " + state + L": " + name.name);
            for (const TweakValueStatus& value : status.values) {
                streams_.Say(L"  " + RegistryPlaceText(value.location) + L" = " + value.text);
            }
        } else {
            streams_.Say(state + L": " + name.name);
        }
        tally.Done();
    }

    const CommandLine& line_;
    Streams& streams_;
    const std::wstring& catalogue_;
    std::vector<TweakName> tweaks_;
};

}  // namespace

ExitCode RunTweak(const CommandContext& context) { return TweakCommand(context).Run(); }
