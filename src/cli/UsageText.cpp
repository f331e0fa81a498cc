#include "cli/RunCommandLine.h"

#include "batch/SearchTexts.h"

std::wstring UsageText() {
    const std::wstring_view text = LR"(XP Vestrim from the command line: theme programs, list them, keep the history and set the
tweaks, with the same rules, files and lock as the window beside it.

  xpvestrim-cli theme PATH... [--recurse] [--dry-run] [--prefer-external-manifests]
                [--company TEXT] [--product TEXT] [--name TEXT] [--description TEXT]
      Writes the manifest of each program and records it in the history. A folder themes its
      programs that have no manifest; with --recurse those of every folder under it too (folders
      that are links are not entered; at most {limit} programs per folder given). The details come
      from each program's version resource, the name from its file name; each option replaces one.
      A program that already has a manifest is left as it is.
      On Windows Vista and later a program that carries a manifest of its own without Common
      Controls 6 ignores the manifest beside it unless Windows prefers external manifests (the
      value PreferExternalManifest under HKEY_LOCAL_MACHINE, for the whole computer).
      --prefer-external-manifests sets that value (as an administrator) when such a program is
      themed; without it a warning says so once. --dry-run reads no program's own manifest.

  xpvestrim-cli untheme PATH... [--dry-run]
      Removes the manifest of each program (or manifest path). A manifest XP Vestrim wrote is
      deleted; any other goes to the Recycle Bin where one is sure to keep it, or stays. The
      history forgets the removed ones.

  xpvestrim-cli untheme --from-history [--dry-run]
      The same for every program the history lists; entries whose manifest is gone are forgotten.

  xpvestrim-cli list FOLDER [--recurse] [--themed | --unthemed] [--format text|csv|json]
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

  xpvestrim-cli history [--format text|csv|json]
  xpvestrim-cli history --prune [--dry-run]
      The history's entries; --prune drops those whose manifest is gone (entries on a drive or
      share that cannot be reached now stay).

  xpvestrim-cli tweak list [--group GROUP] [--format text|csv|json]
  xpvestrim-cli tweak refresh [--group GROUP] [--format text|csv|json]
  xpvestrim-cli tweak apply NAME... [--off] [--group GROUP] [--dry-run]
      The registry tweaks of settings.db: their names; their state (on, off, other) read from the
      registry; turning them on (or off with --off). Listing needs no administrator rights; tweaks
      under HKEY_LOCAL_MACHINE need them to be set.

  --dry-run   prints what the command would do and changes nothing.
  --          ends the options: what follows are paths or names, even when they start with "-".
  -?, /?, --help   this text.

Output goes to a console as Unicode text, and to a file or a pipe as UTF-8. What failed is told
on standard error, each item with its reason.

Exit codes:
  0  everything done
  1  some items failed (each named on standard error), or Ctrl+C stopped the command
  2  usage error: unknown command or option, missing argument, a path that does not exist, a file
     that is no program; nothing was changed
  3  nothing to do, or nothing found
)";
    std::wstring usage;
    for (const wchar_t character : text) usage += character == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, character);
    return usage.replace(usage.find(L"{limit}"), 7, std::to_wstring(kMostResults));
}
