// Bad command lines end in exit code 2 with a clear message on standard error, and change nothing;
// the help tells the commands and the exit codes.
#include <algorithm>
#include <string>
#include <vector>

#include "manifest/ManifestFile.h"
#include "platform/TextFunctions.h"
#include "support/CliProcess.h"
#include "support/FixturePath.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using xpv_test::CliFolder;
using xpv_test::CliRun;

namespace {

const std::wstring kCli = xpv_test::FixturePath(XPV_CLI_PROGRAM);
const std::wstring kPrograms = xpv_test::FixturePath(XPV_CLI_FIXTURES);
const std::wstring kCatalogue = xpv_test::FixturePath(XPV_SHIPPED_CATALOGUE);

}  // namespace

TEST_CASE("Usage errors exit with 2, say what is wrong on standard error and change nothing") {
    const CliFolder cli(kCli);
    REQUIRE(xpv_test::CopyInto(kCatalogue, cli.Path() + L"\\settings.db"));
    const xpv_test::TempFolder programs(L"xpv-cli-usage");
    const std::wstring alpha = programs / L"alpha.exe";
    REQUIRE(xpv_test::CopyInto(kPrograms + L"\\alpha.exe", alpha));
    const std::wstring text = programs.AddFile(L"readme.txt");
    const std::wstring missing = programs / L"missing.exe";
    const std::wstring folder = programs.Path();
    // Named like programs, but no Windows program: text, a bare "MZ", and an MS-DOS header that
    // points at no "PE\0\0".
    const std::wstring textProgram = programs / L"notes.exe";
    REQUIRE(xpv_test::WriteBytes(textProgram, "echo this is no program\r\n"));
    const std::wstring bareMz = programs / L"mz.exe";
    REQUIRE(xpv_test::WriteBytes(bareMz, "MZ"));
    const std::wstring dosProgram = programs / L"dos.exe";
    REQUIRE(xpv_test::WriteBytes(dosProgram, "MZ" + std::string(62, '\0') + "PX\0\0" + std::string(200, '\0')));

    struct Case {
        std::vector<std::wstring> words;
        std::wstring told;
    };
    const Case cases[] = {
        {{}, L"no command given"},
        {{L"frobnicate", alpha}, L"unknown command \"frobnicate\""},
        {{L"theme"}, L"theme needs a program or a folder"},
        {{L"theme", L"--colour", L"red", alpha}, L"unknown option \"--colour\" for theme"},
        {{L"theme", alpha, L"--company"}, L"--company needs a value"},
        {{L"theme", L"--dry-run=yes", alpha}, L"--dry-run takes no value"},
        {{L"theme", L"--recurse", L"--recurse", folder}, L"--recurse is given twice"},
        {{L"theme", L"/recurse", folder}, L"unknown option \"/recurse\": options are written --recurse"},
        {{L"theme", L"-r", folder}, L"unknown option \"-r\": options are written --name"},
        {{L"theme", alpha, missing}, missing + L": not found"},
        {{L"theme", alpha, text}, text + L": is no program"},
        {{L"theme", alpha, textProgram}, textProgram + L": is no Windows program"},
        {{L"theme", L"--dry-run", bareMz}, bareMz + L": is no Windows program"},
        {{L"theme", dosProgram, alpha}, dosProgram + L": is no Windows program"},
        {{L"theme", programs / L"*.exe"}, L"\"" + programs / L"*.exe\": wildcards are not taken"},
        {{L"untheme"}, L"untheme needs a program or a manifest"},
        {{L"untheme", alpha, text}, text + L": is no program or manifest"},
        {{L"untheme", missing}, missing + L": not found"},
        {{L"untheme", L"--from-history", alpha}, L"--from-history takes no paths"},
        {{L"list"}, L"list needs one folder"},
        {{L"list", alpha}, alpha + L": is no folder"},
        {{L"list", folder, L"--themed", L"--unthemed"}, L"--themed and --unthemed exclude each other"},
        {{L"list", folder, L"--format", L"xml"}, L"unknown format \"xml\""},
        {{L"list", folder, L"--dry-run"}, L"unknown option \"--dry-run\" for list"},
        {{L"history", folder}, L"history takes no paths"},
        {{L"history", L"--dry-run"}, L"--dry-run goes with --prune"},
        {{L"tweak"}, L"tweak needs list, refresh or apply"},
        {{L"tweak", L"list", L"--off"}, L"--off and --dry-run go with tweak apply"},
        {{L"tweak", L"apply"}, L"tweak apply needs the name of a tweak"},
        {{L"tweak", L"apply", L"Faster menus", L"No such tweak"}, L"no tweak is named \"No such tweak\""},
        {{L"tweak", L"refresh", L"--group", L"Nowhere"}, L"the catalogue has no group \"Nowhere\""},
        {{L"help", L"frobnicate"}, L"unknown command \"frobnicate\""},
        {{L"frobnicate", L"--help"}, L"unknown command \"frobnicate\""},
        {{L"--version", L"theme"}, L"--version takes nothing else"},
        {{L"theme", L"--version", alpha}, L"unknown option \"--version\" for theme"},
    };
    for (const Case& c : cases) {
        CAPTURE(xpv_test::ToUtf8(c.told));
        const CliRun run = cli.Run(c.words);
        CHECK(run.exitCode == 2);
        CHECK(run.out.empty());
        CHECK(run.err.find(L"xpvestrim-cli: " + c.told) != std::wstring::npos);
        CHECK(run.err.find(L"xpvestrim-cli --help") != std::wstring::npos);
        for (const std::wstring& program : {alpha, textProgram, bareMz, dosProgram}) {
            CHECK_FALSE(IsManifestPresent(ManifestPathFor(program)));
        }
        CHECK_FALSE(xpv_test::FileExists(cli.History()));
    }
}

TEST_CASE("The help, asked for in any of its spellings, lists every command and the exit codes") {
    const CliFolder cli(kCli);
    const std::vector<std::wstring> spellings[] = {{L"--help"}, {L"-?"}, {L"/?"}, {L"help"}, {L"HELP"},
                                                   {L"--help", L"--", L"theme"}};
    for (const std::vector<std::wstring>& words : spellings) {
        CAPTURE(xpv_test::ToUtf8(words.front()));
        const CliRun run = cli.Run(words);
        CHECK(run.exitCode == 0);
        for (const wchar_t* part : {L"xpvestrim-cli theme PATH...", L"untheme --from-history", L"list FOLDER",
                                    L"history --prune", L"tweak apply NAME...", L"a tree of any size",
                                    L"help COMMAND", L"--version", L"  0  everything done", L"  1  some items failed",
                                    L"  2  usage error", L"  3  nothing to do"}) {
            CHECK_MESSAGE(run.out.find(part) != std::wstring::npos, xpv_test::ToUtf8(part));
        }
        CHECK(run.out.find(L"Examples") == std::wstring::npos);
        CHECK(run.err.empty());
    }
}

namespace {

// The lines of the help's examples: from the one after "Examples" to the first empty one.
std::vector<std::wstring> ExampleLines(const CliRun& run) {
    const std::vector<std::wstring> lines = run.OutLines();
    auto line = std::find_if(lines.begin(), lines.end(), [](const std::wstring& l) { return l.starts_with(L"Examples"); });
    if (line == lines.end()) return {};
    return {line + 1, std::find(line + 1, lines.end(), L"")};
}

}  // namespace

TEST_CASE("help COMMAND and COMMAND --help print that command's usage with examples from the installation folder") {
    const CliFolder cli(kCli);
    const std::wstring installed = L"\"C:\\Program Files\\Orlek - XP Vestrim\\xpvestrim-cli.exe\" ";
    struct Command {
        const wchar_t* name;
        const wchar_t* usage;  // the start of its usage, which no other command's page holds
    };
    const Command commands[] = {
        {L"theme", L"  xpvestrim-cli theme PATH..."},
        {L"untheme", L"  xpvestrim-cli untheme PATH..."},
        {L"list", L"  xpvestrim-cli list FOLDER"},
        {L"history", L"  xpvestrim-cli history [--format"},
        {L"tweak", L"  xpvestrim-cli tweak list"},
    };
    for (const Command& command : commands) {
        const std::vector<std::wstring> spellings[] = {
            {L"help", command.name}, {command.name, L"--help"}, {L"/?", command.name}, {command.name, L"-?"},
            {L"Help", UpperCase(command.name)}, {command.name, L"--recurse", L"--help"}};
        for (const std::vector<std::wstring>& words : spellings) {
            CAPTURE(xpv_test::ToUtf8(words[0] + L" " + words[1]));
            const CliRun run = cli.Run(words);
            CHECK(run.exitCode == 0);
            CHECK(run.err.empty());
            CHECK(run.out.starts_with(command.usage));
            for (const Command& other : commands) {
                if (&other != &command) CHECK(run.out.find(other.usage) == std::wstring::npos);
            }
            const std::vector<std::wstring> examples = ExampleLines(run);
            CHECK(examples.size() >= 2);
            CHECK(examples.size() <= 3);
            for (const std::wstring& example : examples) {
                const std::wstring call = L"  " + (example.starts_with(L"  \"") ? installed : L"xpvestrim-cli ");
                const std::wstring rest = example.starts_with(call) ? example.substr(call.size()) : L"";
                CHECK_MESSAGE((rest == command.name || rest.starts_with(command.name + std::wstring(L" "))),
                              xpv_test::ToUtf8(example));
            }
            REQUIRE_FALSE(examples.empty());
            CHECK(examples.front().starts_with(L"  " + installed));
            for (const wchar_t* part : {L"--dry-run", L"  0  everything done", L"  3  nothing to do"}) {
                CHECK_MESSAGE(run.out.find(part) != std::wstring::npos, xpv_test::ToUtf8(part));
            }
        }
    }
}

TEST_CASE("--version prints the project's version alone") {
    const CliFolder cli(kCli);
    for (const wchar_t* spelling : {L"--version", L"--VERSION"}) {
        const CliRun run = cli.Run({spelling});
        CHECK(run.exitCode == 0);
        CHECK(run.out == std::wstring(XPV_PROJECT_VERSION) + L"\r\n");
        CHECK(run.err.empty());
    }
}
