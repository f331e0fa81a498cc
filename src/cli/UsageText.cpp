#include "cli/RunCommandLine.h"

#include <algorithm>
#include <iterator>


namespace {

struct CommandHelp {
    std::wstring_view command;
    std::wstring_view usage;     // its forms and what it does
    std::wstring_view examples;  // two or three command lines, the first with the installed path
};

constexpr CommandHelp kCommands[] = {
    {L"theme",
     LR"(  xpvestrim-cli theme PATH... [--recurse] [--dry-run] [--prefer-external-manifests]
                [--company TEXT] [--product TEXT] [--name TEXT] [--description TEXT]
      Writes the manifest of each program and records it in the history. A folder themes its
      programs that have no manifest; with --recurse those of every folder under it too (folders
      that are links are not entered; a tree of any size). The details come
      from each program's version resource, the name from its file name; each option replaces one.
      A program that already has a manifest is left as it is. A file named that is no Windows
      program is a usage error.
      On Windows Vista and later a program that carries a manifest of its own without Common
      Controls 6 ignores the manifest beside it unless Windows prefers external manifests (the
      value PreferExternalManifest under HKEY_LOCAL_MACHINE, for the whole computer).
      --prefer-external-manifests sets that value (as an administrator) when such a program is
      themed; without it a warning says so once. --dry-run reads no program's own manifest.
)",
     LR"(  "C:\Program Files\Orlek - XP Vestrim\xpvestrim-cli.exe" theme "C:\Tools" --recurse
  xpvestrim-cli theme "C:\Tools\editor.exe" --product "Editor" --description "Text editor"
  xpvestrim-cli theme "C:\Tools" --recurse --dry-run > would-theme.txt
)"},
    {L"untheme",
     LR"(  xpvestrim-cli untheme PATH... [--dry-run]
      Removes the manifest of each program (or manifest path). A manifest XP Vestrim wrote is
      deleted; any other goes to the Recycle Bin where one is sure to keep it, or stays. The
      history forgets the removed ones.

  xpvestrim-cli untheme --from-history [--dry-run]
      The same for every program the history lists; entries whose manifest is gone are forgotten.
)",
     LR"(  "C:\Program Files\Orlek - XP Vestrim\xpvestrim-cli.exe" untheme "C:\Tools\editor.exe"
  xpvestrim-cli untheme "C:\Tools\editor.exe.manifest" --dry-run
  xpvestrim-cli untheme --from-history
)"},
    {L"list",
     LR"(  xpvestrim-cli list FOLDER [--recurse] [--themed | --unthemed] [--format text|csv|json]
      One line per program: state, path, product and description. --themed lists the programs
      with a manifest beside them, --unthemed those without. The states:
        unthemed              no manifest beside it, none of its own
        themed                a manifest beside it, none of its own
        own-manifest          it carries a manifest of its own without Common Controls 6:
                              Windows Vista and later ignore a manifest beside it unless
                              external manifests are preferred
        own-manifest-themed   its own manifest asks for Common Controls 6: it has the look on
                              any Windows, and a manifest beside it changes nothing
      A program's own manifest beats the file beside it: the two own-manifest states are told
      whether or not a manifest lies beside it.
)",
     LR"(  "C:\Program Files\Orlek - XP Vestrim\xpvestrim-cli.exe" list "C:\Tools"
  xpvestrim-cli list "C:\Tools" --recurse --unthemed --format csv > unthemed.csv
  xpvestrim-cli list "C:\Tools" --themed --format json
)"},
    {L"history",
     LR"(  xpvestrim-cli history [--format text|csv|json]
  xpvestrim-cli history --prune [--dry-run]
      The history's entries: program, manifest, product and description (as text, the program
      and "product >> description"); --prune drops those whose manifest is gone (entries on a
      drive or share that cannot be reached now stay).
)",
     LR"(  "C:\Program Files\Orlek - XP Vestrim\xpvestrim-cli.exe" history
  xpvestrim-cli history --format csv > history.csv
  xpvestrim-cli history --prune --dry-run
)"},
    {L"tweak",
     LR"(  xpvestrim-cli tweak list [--group GROUP] [--format text|csv|json]
  xpvestrim-cli tweak refresh [--group GROUP] [--format text|csv|json]
  xpvestrim-cli tweak apply NAME... [--off] [--group GROUP] [--dry-run]
      The registry tweaks of settings.db: their names; their state (on, off, other) read from the
      registry; turning them on (or off with --off), where they are not so already. Listing needs
      no administrator rights; tweaks under HKEY_LOCAL_MACHINE need them to be set.
)",
     LR"(  "C:\Program Files\Orlek - XP Vestrim\xpvestrim-cli.exe" tweak refresh --format csv
  xpvestrim-cli tweak apply "Show file extensions"
  xpvestrim-cli tweak apply "Show file extensions" --off --dry-run
)"},
};

constexpr std::wstring_view kIntroduction =
    LR"(XP Vestrim from the command line: theme programs, list them, keep the history and set the
tweaks, with the same rules, files and lock as the window beside it.

)";

constexpr std::wstring_view kOptions = LR"(
  --dry-run   prints what the command would do and changes nothing.
  --          ends the options: what follows are paths or names, even when they start with "-".
  -?, /?, --help   the help of every command; help COMMAND or COMMAND --help: that command's,
                   with examples.
  --version   prints the version of XP Vestrim.
)";

constexpr std::wstring_view kExitCodes = LR"(
Output goes to a console as Unicode text, and to a file or a pipe as UTF-8. What failed is told
on standard error, each item with its reason.

Exit codes:
  0  everything done: some item was done (with --dry-run, would be) and none failed
  1  some items failed (each named on standard error), or Ctrl+C stopped the command
  2  usage error: unknown command or option, missing argument, a path that does not exist, a file
     that is no Windows program; nothing was changed
  3  nothing to do: no item failed and none needed a change (already themed, not themed, the
     tweak already so, no stale entries), or nothing was found; nothing was changed
)";

// Lines end in CR LF, as every line the program writes.
std::wstring WithLineEnds(std::wstring text) {
    for (size_t at = 0; (at = text.find(L'\n', at)) != std::wstring::npos; at += 2) text.insert(at, 1, L'\r');
    return text;
}

}  // namespace

std::wstring UsageText() {
    std::wstring text(kIntroduction);
    for (const CommandHelp& help : kCommands) text.append(help.usage).append(L"\n");
    text.append(kOptions.substr(1)).append(kExitCodes);
    return WithLineEnds(std::move(text));
}

std::wstring CommandUsageText(std::wstring_view command) {
    const auto help = std::find_if(std::begin(kCommands), std::end(kCommands),
                                   [command](const CommandHelp& entry) { return entry.command == command; });
    if (help == std::end(kCommands)) return UsageText();
    std::wstring text(help->usage);
    text.append(L"\nExamples (the first with the full path of the installed program):\n")
        .append(help->examples)
        .append(kOptions)
        .append(kExitCodes);
    return WithLineEnds(std::move(text));
}
