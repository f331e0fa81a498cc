#include "cli/RunCommandLine.h"

#include "ProductVersion.h"

#include "cli/CommandLine.h"
#include "cli/Commands.h"

int RunCommandLine(const std::vector<std::wstring>& words, const ProgramFiles& files, Streams& streams) {
    const ParsedCommandLine parsed = ParseCommandLine(words);
    if (!parsed.usageError.empty()) return static_cast<int>(UsageError(streams, parsed.usageError));
    if (parsed.help) {
        streams.out.Write(parsed.line.command.empty() ? UsageText() : CommandUsageText(parsed.line.command));
        return static_cast<int>(ExitCode::Done);
    }
    if (parsed.version) {
        streams.Say(L"" XPV_VERSION_TEXT);
        return static_cast<int>(ExitCode::Done);
    }
    const CommandContext context{parsed.line, files, streams};
    const std::wstring& command = parsed.line.command;
    ExitCode code = ExitCode::UsageError;
    if (command == L"theme") {
        code = RunTheme(context);
    } else if (command == L"untheme") {
        code = RunUntheme(context);
    } else if (command == L"list") {
        code = RunList(context);
    } else if (command == L"history") {
        code = RunHistory(context);
    } else if (command == L"tweak") {
        code = RunTweak(context);
    }
    return static_cast<int>(code);
}
