#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// The words after the program's name: a command, its options ("--name" or "--name value" /
// "--name=value"), and its operands (paths, names). "--" ends the options, so that an operand
// may start with "-".
struct CommandLine {
    std::wstring command;  // in lower case
    std::vector<std::wstring> operands;
    std::set<std::wstring> flags;                  // options without a value, by name in lower case
    std::map<std::wstring, std::wstring> values;   // options with a value

    bool Has(std::wstring_view flag) const { return flags.count(std::wstring(flag)) != 0; }
    std::optional<std::wstring> Value(std::wstring_view option) const;
};

struct ParsedCommandLine {
    // "help" first, or "-?", "/?" or "--help" anywhere before "--": the usage of the command in
    // line.command ("help COMMAND", "COMMAND --help"), or of all when it is empty.
    bool help = false;
    bool version = false;       // "--version", alone
    std::wstring usageError;    // what is wrong, when anything is
    CommandLine line;
};

// Checks the words against the command's options: an unknown command or option, a value missing
// or given where none is taken, and an option given twice are usage errors. Commands and option
// names are taken in any letter case.
ParsedCommandLine ParseCommandLine(const std::vector<std::wstring>& words);
