#include "cli/CommandContext.h"

#include "cli/StopRequest.h"
#include "history/HistoryLines.h"
#include "theming/OutcomeText.h"

ExitCode UsageError(Streams& streams, const std::wstring& message) {
    streams.Complain(L"xpvestrim-cli: " + message);
    streams.Complain(L"Type xpvestrim-cli --help for the commands and their options.");
    return ExitCode::UsageError;
}

std::optional<ExistingPath> ExistingPathOf(const std::wstring& operand, std::wstring& error) {
    const std::optional<std::wstring> path = FullUserPath(operand);
    if (!path) {
        error = operand.find_first_of(L"*?") != std::wstring::npos
                    ? L"\"" + operand + L"\": wildcards are not taken; name the folder instead."
                    : L"\"" + operand + L"\" is no valid path.";
        return std::nullopt;
    }
    const PathKind kind = KindOfPath(*path);
    if (kind == PathKind::Missing) {
        error = *path + L": not found.";
        return std::nullopt;
    }
    return ExistingPath{*path, kind};
}

std::optional<TableFormat> ChosenFormat(const CommandLine& line, std::wstring& error) {
    const std::wstring name = line.Value(L"format").value_or(L"text");
    const std::optional<TableFormat> format = TableFormatNamed(name);
    if (!format) error = L"unknown format \"" + name + L"\": text, csv or json.";
    return format;
}

std::wstring DetailsText(const std::wstring& product, const std::wstring& description) {
    if (product.empty() && description.empty()) return {};
    return L"  " + HistoryValueFor(product, description);
}

void TellNotes(Streams& streams, const ProgramOutcome& outcome) {
    for (const OutcomeNote note : kOutcomeNotes) {
        if (!HasNote(outcome, note)) continue;
        const wchar_t* kind = note == OutcomeNote::KeepsOldLook ? L"warning: " : L"note: ";
        streams.Complain(kind + outcome.program + L": " + NotePhrase(note) + L".");
    }
}

void TellHistoryKept(const CommandContext& context, const HistoryCommit& commit, Tally& tally) {
    if (commit.notRecorded > 0) {
        context.streams.Complain(context.files.history + L": " + HistoryNotRecordedText());
        tally.Failed();
    }
    if (commit.notDropped > 0) {
        context.streams.Complain(context.files.history + L": " + HistoryTroubleText(HistoryStore::Trouble::NotUpdated));
        tally.Failed();
    }
}

void ReportStop(Streams& streams, Tally& tally) {
    if (!StopRequested()) return;
    streams.Complain(L"Stopped: the rest was not done.");
    tally.Failed();
}

void TellHistoryUnreadable(const CommandContext& context) {
    context.streams.Complain(context.files.history +
                             L": the history file could not be read; it was left as it was. It must be a plain "
                             L"file, not a link, in UTF-16, UTF-8 or the system's code page.");
}

std::optional<std::vector<HistoryStore::Entry>> ReadHistory(const CommandContext& context) {
    std::optional<std::vector<HistoryStore::Entry>> entries = HistoryStore(context.files.history).ReadAll();
    if (!entries) TellHistoryUnreadable(context);
    return entries;
}
