// Bad command lines end in exit code 2 with a clear message on standard error, and change nothing;
// the help tells the commands and the exit codes.
#include <string>
#include <vector>

#include "manifest/ManifestFile.h"
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
    };
    for (const Case& c : cases) {
        CAPTURE(xpv_test::ToUtf8(c.told));
        const CliRun run = cli.Run(c.words);
        CHECK(run.exitCode == 2);
        CHECK(run.out.empty());
        CHECK(run.err.find(L"xpvestrim-cli: " + c.told) != std::wstring::npos);
        CHECK(run.err.find(L"xpvestrim-cli --help") != std::wstring::npos);
        CHECK_FALSE(IsManifestPresent(ManifestPathFor(alpha)));
        CHECK_FALSE(xpv_test::FileExists(cli.History()));
    }
}

TEST_CASE("The help, asked for in any of its spellings, lists the commands and the exit codes") {
    const CliFolder cli(kCli);
    for (const wchar_t* help : {L"--help", L"-?", L"/?"}) {
        CAPTURE(xpv_test::ToUtf8(help));
        const CliRun run = cli.Run({L"theme", help});
        CHECK(run.exitCode == 0);
        for (const wchar_t* part : {L"xpvestrim-cli theme PATH...", L"untheme --from-history", L"list FOLDER",
                                    L"history --prune", L"tweak apply NAME...", L"at most 65535 programs",
                                    L"  0  everything done", L"  1  some items failed",
                                    L"  2  usage error", L"  3  nothing to do"}) {
            CHECK_MESSAGE(run.out.find(part) != std::wstring::npos, xpv_test::ToUtf8(part));
        }
        CHECK(run.err.empty());
    }
}
