#pragma once
#include <string>
#include <vector>

#include "cli/OutputStream.h"
#include "cli/ProgramFiles.h"

// The console program without its process: the words after its name, the files of the program it
// ships with and where its text goes. The exit code.
int RunCommandLine(const std::vector<std::wstring>& words, const ProgramFiles& files, Streams& streams);

// What --help prints.
std::wstring UsageText();
