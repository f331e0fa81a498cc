#include <vector>

#include "cli/Commands.h"
#include "history/HistoryLines.h"

namespace {

ExitCode ListHistory(const CommandContext& context, TableFormat format) {
    const std::optional<std::vector<HistoryStore::Entry>> entries = ReadHistory(context);
    if (!entries) return ExitCode::SomeFailed;
    // The columns of list, the details split as the history joins them.
    Table table{{L"program", L"manifest", L"product", L"description"}, {}};
    for (const HistoryStore::Entry& entry : *entries) {
        HistoryDetails details = HistoryDetailsOf(entry.value);
        table.rows.push_back({ExecutablePathOfManifest(entry.manifestPath), entry.manifestPath,
                              std::move(details.product), std::move(details.description)});
    }
    // As the History panel shows an entry: its details, or only the program when it has none.
    const auto textLine = [](const std::vector<std::wstring>& row) { return row[0] + DetailsText(row[2], row[3]); };
    WriteTable(table, format, textLine, context.streams);
    if (!table.rows.empty()) return ExitCode::Done;
    if (format == TableFormat::Text) context.streams.Say(L"The history lists no programs.");
    return ExitCode::NothingToDo;
}

// Drops the entries whose manifest is gone, by the rule a load of the History panel prunes with:
// an entry on a drive or share that cannot be reached now stays.
ExitCode PruneHistory(const CommandContext& context) {
    const bool dryRun = context.line.Has(L"dry-run");
    const HistoryStore::Listing listing =
        HistoryStore(context.files.history).List(dryRun ? HistoryStore::Pruning::LeaveFile : HistoryStore::Pruning::DropGone);
    Streams& streams = context.streams;
    switch (listing.trouble) {
        case HistoryStore::Trouble::Unreadable:
            TellHistoryUnreadable(context);
            return ExitCode::SomeFailed;
        case HistoryStore::Trouble::NotUpdated:
            streams.Complain(context.files.history + L": the history file could not be changed (read-only or in "
                                                     L"use); nothing was dropped.");
            return ExitCode::SomeFailed;
        case HistoryStore::Trouble::None:
            break;
    }
    if (listing.gone.empty()) {
        streams.Say(L"The history has no stale entries.");
        return ExitCode::NothingToDo;
    }
    for (const std::wstring& manifest : listing.gone) streams.Say((dryRun ? L"would drop: " : L"dropped: ") + manifest);
    return ExitCode::Done;
}

}  // namespace

ExitCode RunHistory(const CommandContext& context) {
    const CommandLine& line = context.line;
    if (!line.operands.empty()) return UsageError(context.streams, L"history takes no paths.");
    if (line.Has(L"prune")) {
        if (line.Value(L"format")) return UsageError(context.streams, L"--format goes with the listing, not --prune.");
        return PruneHistory(context);
    }
    if (line.Has(L"dry-run")) return UsageError(context.streams, L"--dry-run goes with --prune.");
    std::wstring error;
    const std::optional<TableFormat> format = ChosenFormat(line, error);
    if (!format) return UsageError(context.streams, error);
    return ListHistory(context, *format);
}
