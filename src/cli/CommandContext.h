#pragma once
#include <optional>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Outcome.h"
#include "cli/OutputStream.h"
#include "cli/ProgramFiles.h"
#include "cli/Table.h"
#include "cli/UserPaths.h"
#include "history/HistoryStore.h"
#include "theming/ProgramOutcome.h"

// What every command is run with.
struct CommandContext {
    const CommandLine& line;
    const ProgramFiles& files;
    Streams& streams;
};

// Tells a usage error on standard error, with the way to the help; the command changes nothing.
ExitCode UsageError(Streams& streams, const std::wstring& message);

struct ExistingPath {
    std::wstring path;  // full, as FullUserPath gives it
    PathKind kind = PathKind::Missing;
};

// The operand as a full path of something that exists; nothing, with the reason in `error`,
// when it is no path or nothing is there.
std::optional<ExistingPath> ExistingPathOf(const std::wstring& operand, std::wstring& error);

// The format --format names, text when it is not given; nothing, with the reason in `error`, for
// an unknown one.
std::optional<TableFormat> ChosenFormat(const CommandLine& line, std::wstring& error);

// A program's details after its path in a text line, as the window shows them: two blanks and
// "product >> description"; nothing when it has neither.
std::wstring DetailsText(const std::wstring& product, const std::wstring& description);

// The history's entries, its file converted first when it was saved in another encoding; nothing,
// after telling why on standard error, when it cannot be read: the command then changes nothing.
std::optional<std::vector<HistoryStore::Entry>> ReadHistory(const CommandContext& context);
void TellHistoryUnreadable(const CommandContext& context);

// Tells on standard error what a program done still needs said (its own manifest, its old look on
// Vista and later, a restart): notes, no failures.
void TellNotes(Streams& streams, const ProgramOutcome& outcome);

// Tells what the history could not keep of the command's changes, each a failure.
void TellHistoryKept(const CommandContext& context, const HistoryCommit& commit, Tally& tally);

// Tells once that Ctrl+C stopped the command, when it did: what was left is a failure.
void ReportStop(Streams& streams, Tally& tally);
