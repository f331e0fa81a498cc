#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "cli/OutputStream.h"
#include "cli/ProgramFiles.h"

// The console program without its process: the words after its name, the files of the program it
// ships with and where its text goes. The exit code.
int RunCommandLine(const std::vector<std::wstring>& words, const ProgramFiles& files, Streams& streams);

// What --help prints: every command's usage, the options and the exit codes.
std::wstring UsageText();
// What help COMMAND prints: that command's usage with examples, the options and the exit codes.
std::wstring CommandUsageText(std::wstring_view command);
