#pragma once
#include "cli/CommandContext.h"

// The commands of the console program, one per file; each checks its whole command line before
// it changes anything.
ExitCode RunTheme(const CommandContext& context);
ExitCode RunUntheme(const CommandContext& context);
ExitCode RunList(const CommandContext& context);
ExitCode RunHistory(const CommandContext& context);
ExitCode RunTweak(const CommandContext& context);
