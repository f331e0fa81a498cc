#include <algorithm>
#include <functional>
#include <vector>

#include "cli/Commands.h"
#include "cli/ProgramSearch.h"
#include "cli/ProgramState.h"
#include "platform/TextFunctions.h"
#include "platform/VersionInfo.h"

namespace {

struct FoundProgram {
    ProgramState state;
    std::wstring path;
    std::wstring folderKey;  // the folder part, upper-cased
    std::wstring nameKey;    // the file name, upper-cased
};

FoundProgram Found(ProgramState state, const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return {state, path, UpperCase(path.substr(0, slash)), UpperCase(path.substr(slash + 1))};
}

// Folder by folder, each folder's programs before those of its subfolders.
void SortByFolder(std::vector<FoundProgram>& programs) {
    std::sort(programs.begin(), programs.end(), [](const FoundProgram& a, const FoundProgram& b) {
        return a.folderKey != b.folderKey ? a.folderKey < b.folderKey : a.nameKey < b.nameKey;
    });
}

std::wstring TextLine(const std::vector<std::wstring>& row, size_t stateWidth) {
    return PaddedTo(row[0], stateWidth) + L"  " + row[1] + DetailsText(row[2], row[3]);
}

}  // namespace

ExitCode RunList(const CommandContext& context) {
    const CommandLine& line = context.line;
    Streams& streams = context.streams;
    if (line.operands.size() != 1) return UsageError(streams, L"list needs one folder.");
    std::wstring error;
    const std::optional<ExistingPath> folder = ExistingPathOf(line.operands[0], error);
    if (!folder) return UsageError(streams, error);
    if (folder->kind != PathKind::Folder) return UsageError(streams, folder->path + L": is no folder.");
    if (line.Has(L"themed") && line.Has(L"unthemed")) {
        return UsageError(streams, L"--themed and --unthemed exclude each other; give neither to list both.");
    }
    const std::optional<TableFormat> format = ChosenFormat(line, error);
    if (!format) return UsageError(streams, error);

    // --themed: the programs with a manifest beside them (a manifest search); else one walk finds
    // those without, and with neither option also passes on those with one.
    Tally tally;
    std::vector<FoundProgram> programs;
    const auto keepAs = [&programs](SearchMode mode) {
        return [&programs, mode](const std::wstring& path) {
            if (const std::optional<ProgramState> state = StateOfFound(mode, path)) programs.push_back(Found(*state, path));
        };
    };
    const bool themedOnly = line.Has(L"themed");
    const std::function<void(const std::wstring&)> found = keepAs(themedOnly ? SearchMode::Themed : SearchMode::Unthemed);
    std::function<void(const std::wstring&)> passedThemed;
    if (!themedOnly && !line.Has(L"unthemed")) passedThemed = keepAs(SearchMode::Themed);
    const SearchOutcome outcome = SearchFolder(folder->path, themedOnly ? SearchMode::Themed : SearchMode::Unthemed,
                                               line.Has(L"recurse"), found, passedThemed);
    ReportSearchEnd(folder->path, outcome, streams);
    SortByFolder(programs);

    Table table{{L"state", L"path", L"product", L"description"}, {}};
    VersionInfo version;
    for (const FoundProgram& program : programs) {
        version.SetFileName(program.path);
        table.rows.push_back({std::wstring(ProgramStateText(program.state)), program.path,
                              OnOneLine(version.ProductName()), OnOneLine(version.FileDescription())});
        tally.Done();
    }
    const size_t stateWidth = WidestIn(table, 0);
    WriteTable(table, *format, [stateWidth](const auto& row) { return TextLine(row, stateWidth); }, streams);
    if (programs.empty() && *format == TableFormat::Text) streams.Say(L"No programs found in " + folder->path + L".");
    ReportStop(streams, tally);
    return tally.Code();
}
