#include "cli/CommandLine.h"

#include <algorithm>
#include <cwctype>

namespace {

struct OptionRule {
    std::wstring_view name;
    bool takesValue = false;
};

struct CommandRule {
    std::wstring_view name;
    std::vector<OptionRule> options;
};

const std::vector<CommandRule>& Commands() {
    static const std::vector<CommandRule> commands{
        {L"theme",
         {{L"recurse"},
          {L"dry-run"},
          {L"prefer-external-manifests"},
          {L"company", true},
          {L"product", true},
          {L"name", true},
          {L"description", true}}},
        {L"untheme", {{L"from-history"}, {L"dry-run"}}},
        {L"list", {{L"recurse"}, {L"themed"}, {L"unthemed"}, {L"format", true}}},
        {L"history", {{L"prune"}, {L"dry-run"}, {L"format", true}}},
        {L"tweak", {{L"group", true}, {L"off"}, {L"dry-run"}, {L"format", true}}},
    };
    return commands;
}

std::wstring LowerCase(std::wstring_view text) {
    std::wstring lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](wchar_t c) { return std::towlower(c); });
    return lower;
}

bool IsHelpWord(std::wstring_view word) { return word == L"-?" || word == L"/?" || LowerCase(word) == L"--help"; }

const CommandRule* FindCommand(const std::wstring& name) {
    const auto found = std::find_if(Commands().begin(), Commands().end(),
                                    [&name](const CommandRule& rule) { return rule.name == name; });
    return found == Commands().end() ? nullptr : &*found;
}

const OptionRule* FindOption(const CommandRule& command, std::wstring_view name) {
    const auto found = std::find_if(command.options.begin(), command.options.end(),
                                    [name](const OptionRule& option) { return option.name == name; });
    return found == command.options.end() ? nullptr : &*found;
}

}  // namespace

std::optional<std::wstring> CommandLine::Value(std::wstring_view option) const {
    const auto found = values.find(std::wstring(option));
    if (found == values.end()) return std::nullopt;
    return found->second;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::wstring>& words) {
    ParsedCommandLine parsed;
    const auto fail = [&parsed](std::wstring message) {
        parsed.usageError = std::move(message);
        return parsed;
    };
    const auto endOfOptions = std::find(words.begin(), words.end(), L"--");
    const bool helpCommand = !words.empty() && LowerCase(words[0]) == L"help";
    if (helpCommand || std::any_of(words.begin(), endOfOptions, IsHelpWord)) {
        parsed.help = true;
        // The command asked about is the first word, or the one after "help" or a help word.
        auto topic = words.begin();
        while (topic != endOfOptions && (IsHelpWord(*topic) || (helpCommand && topic == words.begin()))) ++topic;
        if (topic == endOfOptions) return parsed;
        parsed.line.command = LowerCase(*topic);
        if (!FindCommand(parsed.line.command)) return fail(L"unknown command \"" + *topic + L"\".");
        return parsed;
    }
    if (words.empty()) return fail(L"no command given.");
    if (LowerCase(words[0]) == L"--version") {
        if (words.size() > 1) return fail(L"--version takes nothing else.");
        parsed.version = true;
        return parsed;
    }

    CommandLine& line = parsed.line;
    line.command = LowerCase(words[0]);
    const CommandRule* command = FindCommand(line.command);
    if (!command) return fail(L"unknown command \"" + words[0] + L"\".");

    bool optionsEnded = false;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::wstring& word = words[i];
        if (optionsEnded) {
            line.operands.push_back(word);
        } else if (word == L"--") {
            optionsEnded = true;
        } else if (word.starts_with(L"--")) {
            const size_t equals = word.find(L'=');
            const std::wstring name = LowerCase(word.substr(2, equals == std::wstring::npos ? std::wstring::npos
                                                                                            : equals - 2));
            const OptionRule* option = FindOption(*command, name);
            if (option == nullptr) {
                return fail(L"unknown option \"--" + name + L"\" for " + line.command + L".");
            }
            if (line.flags.count(name) || line.values.count(name)) return fail(L"--" + name + L" is given twice.");
            if (!option->takesValue) {
                if (equals != std::wstring::npos) return fail(L"--" + name + L" takes no value.");
                line.flags.insert(name);
            } else if (equals != std::wstring::npos) {
                line.values[name] = word.substr(equals + 1);
            } else if (i + 1 < words.size() && !words[i + 1].starts_with(L"--")) {
                line.values[name] = words[++i];
            } else {
                return fail(L"--" + name + L" needs a value.");
            }
        } else if (word.size() > 1 && word[0] == L'-') {
            return fail(L"unknown option \"" + word + L"\": options are written --name.");
        } else if (word.size() > 1 && word[0] == L'/' && FindOption(*command, LowerCase(word.substr(1)))) {
            return fail(L"unknown option \"" + word + L"\": options are written --" + LowerCase(word.substr(1)) +
                        L".");
        } else {
            line.operands.push_back(word);
        }
    }
    return parsed;
}
