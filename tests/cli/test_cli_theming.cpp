// theme, untheme, list and history through the console program started as a process, on real
// files: exit codes, standard output as UTF-8 lines, manifests on disk and history lines.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "history/HistoryLines.h"
#include "history/HistoryStore.h"
#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFile.h"
#include "manifest/ManifestForExecutable.h"
#include "platform/IniEditor.h"
#include "platform/ProfileEncoding.h"
#include "platform/WindowsVersion.h"
#include "support/CliProcess.h"
#include "support/FixturePath.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"
#include "theming/ThemingService.h"

using xpv_test::CliFolder;
using xpv_test::CliRun;
using xpv_test::TempFolder;
using Lines = std::vector<std::wstring>;

namespace {

const std::wstring kCli = xpv_test::FixturePath(XPV_CLI_PROGRAM);
const std::wstring kPrograms = xpv_test::FixturePath(XPV_CLI_FIXTURES);
const std::wstring kGreekName = L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac.exe";  // Ελληνικά.exe
const ManifestDetails kAlphaDetails{L"Alpha Works", L"Alpha Editor", L"alpha.exe", L"Edits alpha files"};

struct Fixture {
    CliFolder cli{kCli};
    TempFolder programs{L"xpv-cli-programs"};

    // A copy of a fixture program: "alpha" and "beta" carry version details, "plain" none.
    std::wstring Add(const wchar_t* fixture, const std::wstring& relative) const {
        const std::wstring path = programs / relative;
        REQUIRE(xpv_test::CopyInto(kPrograms + L"\\" + fixture + L".exe", path));
        return path;
    }
    // Themed as the window themes it: the manifest and its history entry.
    void Themed(const std::wstring& program, const ManifestDetails& details = kAlphaDetails) const {
        HistoryStore history(cli.History());
        ThemingService theming(history);
        ThemingRun run(theming);
        REQUIRE(run.Theme(program, details).Done());
        REQUIRE(run.CommitHistory().notRecorded == 0);
    }
    std::vector<ProfileEntry> HistoryRows() const { return ReadSectionEntries({cli.History(), L"Main"}); }
};

std::wstring ManifestOf(const std::wstring& program) { return ManifestPathFor(program); }

// The manifests a history file lists, sorted.
std::vector<std::wstring> HistoryManifests(const std::wstring& history) {
    std::vector<std::wstring> manifests;
    for (const ProfileEntry& row : ReadSectionEntries({history, L"Main"})) {
        manifests.push_back(ManifestPathOfHistoryKey(row.key));
    }
    std::sort(manifests.begin(), manifests.end());
    return manifests;
}

// A path as a JSON string.
std::wstring Json(std::wstring text) {
    for (size_t at = 0; (at = text.find_first_of(L"\\\"", at)) != std::wstring::npos; at += 2) {
        text.insert(at, 1, L'\\');
    }
    return L"\"" + text + L"\"";
}

Lines Sorted(Lines lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace

TEST_CASE("theme writes each program's manifest from its version resource and records it in the history") {
    Fixture f;
    const std::wstring alpha = f.Add(L"alpha", L"alpha.exe");
    const std::wstring greek = f.Add(L"beta", kGreekName);

    SUBCASE("named programs, a Greek name among them, told in UTF-8; a second run has nothing to do") {
        const CliRun run = f.cli.Run({L"theme", alpha, greek});
        CHECK(run.exitCode == 0);
        CHECK(run.OutLines() == Lines{L"themed: " + alpha, L"themed: " + greek});
        CHECK(run.outBytes.find("\xce\x95\xce\xbb\xce\xbb\xce\xb7\xce\xbd\xce\xb9\xce\xba\xce\xac.exe") !=
              std::string::npos);
        CHECK(run.err.empty());
        CHECK(ReadManifestDetailsForExecutable(alpha) == kAlphaDetails);
        CHECK(ReadManifestDetailsForExecutable(greek) ==
              ManifestDetails{L"Beta & Sons", L"Beta \"Viewer\"", kGreekName, L"Views <beta> files"});
        CHECK(f.HistoryRows() == std::vector<ProfileEntry>{
                                     {ManifestOf(alpha), L"Alpha Editor >> Edits alpha files"},
                                     {ManifestOf(greek), L"Beta \"Viewer\" >> Views <beta> files"}});

        const CliRun again = f.cli.Run({L"theme", alpha});
        CHECK(again.exitCode == 3);
        CHECK(again.OutLines() == Lines{L"already themed: " + alpha});
    }
    SUBCASE("a relative path is taken from the current folder; options replace details") {
        const CliRun run = f.cli.Run({L"theme", L"--product", L"Renamed", L"--name=Tool", L"alpha.exe"},
                                     f.programs.Path());
        CHECK(run.exitCode == 0);
        CHECK(run.OutLines() == Lines{L"themed: " + alpha});
        CHECK(ReadManifestDetailsForExecutable(alpha) ==
              ManifestDetails{L"Alpha Works", L"Renamed", L"Tool", L"Edits alpha files"});
        CHECK(f.HistoryRows() == std::vector<ProfileEntry>{{ManifestOf(alpha), L"Renamed >> Edits alpha files"}});
    }
    SUBCASE("a dry run tells and changes nothing") {
        const CliRun run = f.cli.Run({L"theme", L"--dry-run", alpha});
        CHECK(run.exitCode == 0);
        CHECK(run.OutLines() == Lines{L"would theme: " + alpha});
        CHECK_FALSE(IsManifestPresent(ManifestOf(alpha)));
        CHECK_FALSE(xpv_test::FileExists(f.cli.History()));
    }
}

TEST_CASE("theme of a folder themes its programs without a manifest; --recurse those of every folder under it") {
    Fixture f;
    const std::wstring top = f.Add(L"alpha", L"top.exe");
    f.programs.AddFolder(L"sub");
    f.programs.AddFolder(L"sub\\deeper");
    const std::wstring inner = f.Add(L"plain", L"sub\\inner.exe");
    const std::wstring deep = f.Add(L"alpha", L"sub\\deeper\\deep.exe");
    // Another maker's manifest stays as it is.
    const std::wstring vendor = f.Add(L"plain", L"vendor.exe");
    REQUIRE(xpv_test::WriteBytes(ManifestOf(vendor), "<assembly/>"));

    struct Case {
        std::vector<std::wstring> options;
        Lines themed;
    };
    const Case cases[] = {
        {{}, {top}},
        {{L"--recurse"}, {deep, inner, top}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.options.size());
        // The same tree for each case, from a program folder of its own.
        const CliFolder cli(kCli);
        std::vector<std::wstring> words{L"theme"};
        words.insert(words.end(), c.options.begin(), c.options.end());
        words.push_back(f.programs.Path());
        const CliRun run = cli.Run(words);
        CHECK(run.exitCode == 0);
        Lines expected;
        for (const std::wstring& program : c.themed) expected.push_back(L"themed: " + program);
        CHECK(Sorted(run.OutLines()) == Sorted(expected));
        Lines manifests;
        for (const std::wstring& program : c.themed) manifests.push_back(ManifestOf(program));
        CHECK(HistoryManifests(cli.History()) == Sorted(manifests));
        CHECK(xpv_test::ReadBytes(ManifestOf(vendor)) == "<assembly/>");

        // Everything there is themed now (the vendor's program too, by its own manifest).
        const CliRun again = cli.Run(words);
        CHECK(again.exitCode == 3);
        CHECK(again.out.empty());
        for (const std::wstring& program : c.themed) {
            SetFileAttributesW(ManifestOf(program).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(ManifestOf(program).c_str());
        }
    }
}

TEST_CASE("A program whose path is longer than 260 characters is themed, listed and unthemed") {
    Fixture f;
    const xpv_test::DeepFolder deep(f.programs);
    const std::wstring program = deep.Path() + L"\\long.exe";
    REQUIRE(xpv_test::CopyInto(kPrograms + L"\\alpha.exe", xpv_test::DeepFolder::LongForm(program)));
    REQUIRE(program.size() > MAX_PATH);

    const CliRun themed = f.cli.Run({L"theme", program});
    CHECK(themed.exitCode == 0);
    CHECK(themed.OutLines() == Lines{L"themed: " + program});
    CHECK(IsManifestPresent(ManifestOf(program)));

    const CliRun listed = f.cli.Run({L"list", deep.Path()});
    CHECK(listed.exitCode == 0);
    CHECK(listed.OutLines() == Lines{L"themed  " + program + L"  Alpha Editor >> Edits alpha files"});

    const CliRun unthemed = f.cli.Run({L"untheme", program});
    CHECK(unthemed.exitCode == 0);
    CHECK(unthemed.OutLines() == Lines{L"removed: " + ManifestOf(program)});
    CHECK_FALSE(IsManifestPresent(ManifestOf(program)));
    CHECK(f.HistoryRows().empty());
}

TEST_CASE("untheme removes manifests by the removal rule and the history forgets them") {
    Fixture f;
    const std::wstring alpha = f.Add(L"alpha", L"alpha.exe");
    const std::wstring beta = f.Add(L"beta", L"beta.exe");
    const std::wstring plain = f.Add(L"plain", L"plain.exe");
    f.Themed(alpha);
    f.Themed(beta);

    SUBCASE("by program and by manifest path; a program without one has nothing to remove") {
        const CliRun run = f.cli.Run({L"untheme", alpha, ManifestOf(beta), plain});
        CHECK(run.exitCode == 0);
        CHECK(run.OutLines() ==
              Lines{L"removed: " + ManifestOf(alpha), L"removed: " + ManifestOf(beta), L"not themed: " + plain});
        CHECK_FALSE(IsManifestPresent(ManifestOf(alpha)));
        CHECK_FALSE(IsManifestPresent(ManifestOf(beta)));
        CHECK(f.HistoryRows().empty());

        const CliRun again = f.cli.Run({L"untheme", alpha});
        CHECK(again.exitCode == 3);
        CHECK(again.OutLines() == Lines{L"not themed: " + alpha});
    }
    SUBCASE("a dry run tells what the rule would do: delete its own manifest, keep another maker's in the bin") {
        REQUIRE(xpv_test::WriteBytes(ManifestOf(plain), "<assembly/>"));
        const CliRun run = f.cli.Run({L"untheme", L"--dry-run", alpha, plain});
        CHECK(run.exitCode == 0);
        CHECK(run.OutLines() == Lines{L"would remove: " + ManifestOf(alpha),
                                      L"would send to the Recycle Bin: " + ManifestOf(plain)});
        CHECK(IsManifestPresent(ManifestOf(alpha)));
        CHECK(xpv_test::ReadBytes(ManifestOf(plain)) == "<assembly/>");
        CHECK(f.HistoryRows().size() == 2);
    }
}

TEST_CASE("untheme tells, without failing, a change Windows can see only after a restart") {
    Fixture f;
    // The platform refuses to set the time of a folder opened as a file, as it refuses a program
    // on a share the user may not write to.
    const std::wstring program = f.programs.AddFolder(L"folder.exe");
    REQUIRE(xpv_test::WriteBytes(ManifestOf(program), ComposeManifestDocument({}, ProcessorArchitecture::Amd64)));
    const CliRun run = f.cli.Run({L"untheme", program});
    CHECK(run.exitCode == 0);
    CHECK(run.OutLines() == Lines{L"removed: " + ManifestOf(program)});
    CHECK_FALSE(IsManifestPresent(ManifestOf(program)));
    // Windows XP remembers nothing of a program's manifest.
    const std::wstring note = L"note: " + program + L": Windows could not be told that the program changed, so the "
                                                    L"change shows after Windows restarts.\r\n";
    CHECK(run.err == (CurrentWindowsVersion().IsVistaOrLater() ? note : L""));
}

TEST_CASE("untheme --from-history removes every listed manifest and forgets the entries of those gone") {
    Fixture f;
    const std::wstring alpha = f.Add(L"alpha", L"alpha.exe");
    const std::wstring beta = f.Add(L"beta", L"beta.exe");
    f.Themed(alpha);
    f.Themed(beta);
    // beta's manifest went meanwhile; a drive that is not there says nothing about its manifest.
    SetFileAttributesW(ManifestOf(beta).c_str(), FILE_ATTRIBUTE_NORMAL);
    REQUIRE(DeleteFileW(ManifestOf(beta).c_str()));
    wchar_t absent = L'R';
    while (absent > L'D' && GetDriveTypeW((std::wstring(1, absent) + L":\\").c_str()) != DRIVE_NO_ROOT_DIR) --absent;
    const std::wstring unreachable = std::wstring(1, absent) + L":\\Tools\\far.exe.manifest";
    REQUIRE(HistoryStore(f.cli.History()).Record(unreachable, L"Far >> away"));

    SUBCASE("a dry run") {
        const CliRun run = f.cli.Run({L"untheme", L"--from-history", L"--dry-run"});
        CHECK(run.exitCode == 1);
        CHECK(run.OutLines() == Lines{L"would remove: " + ManifestOf(alpha), L"would forget: " + ManifestOf(beta)});
        CHECK(run.err.find(unreachable + L": its drive or share cannot be reached now") != std::wstring::npos);
        CHECK(IsManifestPresent(ManifestOf(alpha)));
        CHECK(f.HistoryRows().size() == 3);
    }
    SUBCASE("for real: only the entry on the drive that cannot be reached stays") {
        const CliRun run = f.cli.Run({L"untheme", L"--from-history"});
        CHECK(run.exitCode == 1);
        CHECK(run.OutLines() == Lines{L"removed: " + ManifestOf(alpha), L"forgot: " + ManifestOf(beta)});
        CHECK_FALSE(IsManifestPresent(ManifestOf(alpha)));
        CHECK(f.HistoryRows() == std::vector<ProfileEntry>{{unreachable, L"Far >> away"}});
    }
}

TEST_CASE("list tells each program's state and details as text, CSV or JSON") {
    Fixture f;
    const std::wstring alpha = f.Add(L"alpha", L"alpha.exe");
    const std::wstring plain = f.Add(L"plain", L"plain.exe");
    const std::wstring greek = f.Add(L"beta", kGreekName);
    f.programs.AddFolder(L"sub");
    const std::wstring inner = f.Add(L"alpha", L"sub\\inner.exe");
    f.Themed(alpha);
    // A manifest whose program is gone is no program.
    REQUIRE(xpv_test::WriteBytes(f.programs / L"gone.exe.manifest", "<assembly/>"));
    const std::wstring folder = f.programs.Path();

    struct Case {
        std::vector<std::wstring> words;
        std::wstring output;
    };
    const Case cases[] = {
        {{L"list", folder},
         L"themed    " + alpha + L"  Alpha Editor >> Edits alpha files\r\n"
         L"unthemed  " + plain + L"\r\n"
         L"unthemed  " + greek + L"  Beta \"Viewer\" >> Views <beta> files\r\n"},
        {{L"list", folder, L"--recurse", L"--themed"},
         L"themed  " + alpha + L"  Alpha Editor >> Edits alpha files\r\n"},
        {{L"list", L"--unthemed", L"--recurse", folder, L"--format", L"csv"},
         L"state,path,product,description\r\n"
         L"unthemed," + plain + L",,\r\n"
         L"unthemed," + greek + L",\"Beta \"\"Viewer\"\"\",Views <beta> files\r\n"
         L"unthemed," + inner + L",Alpha Editor,Edits alpha files\r\n"},
        {{L"list", folder, L"--themed", L"--format=JSON"},
         L"[\r\n  {\"state\": \"themed\", \"path\": " + Json(alpha) +
             L", \"product\": \"Alpha Editor\", \"description\": \"Edits alpha files\"}\r\n]\r\n"},
        {{L"list", f.programs / L"sub", L"--themed", L"--format", L"json"}, L"[]\r\n"},
    };
    for (const Case& c : cases) {
        CAPTURE(xpv_test::ToUtf8(c.words.back()));
        const CliRun run = f.cli.Run(c.words);
        CHECK(run.exitCode == (c.output == L"[]\r\n" ? 3 : 0));
        CHECK(run.out == c.output);
        CHECK(run.err.empty());
    }
}

TEST_CASE("history lists the entries, and --prune drops those whose manifest is gone") {
    Fixture f;
    const std::wstring alpha = f.Add(L"alpha", L"alpha.exe");
    const std::wstring plain = f.Add(L"plain", L"plain.exe");
    f.Themed(alpha);
    f.Themed(plain, {});
    SetFileAttributesW(ManifestOf(plain).c_str(), FILE_ATTRIBUTE_NORMAL);
    REQUIRE(DeleteFileW(ManifestOf(plain).c_str()));

    const CliRun listed = f.cli.Run({L"history"});
    CHECK(listed.exitCode == 0);
    // An entry without details shows its program alone, as the History panel shows it.
    CHECK(listed.OutLines() == Lines{alpha + L"  Alpha Editor >> Edits alpha files", plain});
    // The fields of list, the details apart, in both formats for tools.
    const std::wstring product = L"Alpha \"Editor\", second edition";
    REQUIRE(HistoryStore(f.cli.History()).Record(ManifestOf(alpha), HistoryValueFor(product, L"Edits >> alpha files")));
    const struct {
        const wchar_t* format;
        std::wstring output;
    } formats[] = {
        {L"csv", L"program,manifest,product,description\r\n" + alpha + L"," + ManifestOf(alpha) +
                     L",\"Alpha \"\"Editor\"\", second edition\",Edits >> alpha files\r\n" + plain + L"," +
                     ManifestOf(plain) + L",,\r\n"},
        {L"json", L"[\r\n  {\"program\": " + Json(alpha) + L", \"manifest\": " + Json(ManifestOf(alpha)) +
                      L", \"product\": \"Alpha \\\"Editor\\\", second edition\", \"description\": \"Edits >> alpha "
                      L"files\"},\r\n  {\"program\": " + Json(plain) + L", \"manifest\": " + Json(ManifestOf(plain)) +
                      L", \"product\": \"\", \"description\": \"\"}\r\n]\r\n"},
    };
    for (const auto& c : formats) {
        CAPTURE(xpv_test::ToUtf8(c.format));
        const CliRun run = f.cli.Run({L"history", L"--format", c.format});
        CHECK(run.exitCode == 0);
        CHECK(run.out == c.output);
    }
    const CliRun text = f.cli.Run({L"history"});
    CHECK(text.OutLines() == Lines{alpha + L"  " + product + L" >> Edits >> alpha files", plain});

    const CliRun dry = f.cli.Run({L"history", L"--prune", L"--dry-run"});
    CHECK(dry.exitCode == 0);
    CHECK(dry.OutLines() == Lines{L"would drop: " + ManifestOf(plain)});
    CHECK(f.HistoryRows().size() == 2);

    const CliRun pruned = f.cli.Run({L"history", L"--prune"});
    CHECK(pruned.exitCode == 0);
    CHECK(pruned.OutLines() == Lines{L"dropped: " + ManifestOf(plain)});
    CHECK(HistoryManifests(f.cli.History()) == Lines{ManifestOf(alpha)});

    const CliRun again = f.cli.Run({L"history", L"--prune"});
    CHECK(again.exitCode == 3);
    CHECK(again.OutLines() == Lines{L"The history has no stale entries."});
}

TEST_CASE("Nothing to do exits with 3 and changes nothing, with --dry-run too; anything done besides gives 0") {
    Fixture f;
    f.programs.AddFolder(L"themed");
    const std::wstring alpha = f.Add(L"alpha", L"themed\\alpha.exe");
    const std::wstring plain = f.Add(L"plain", L"plain.exe");
    f.Themed(alpha);
    const std::string history = xpv_test::ReadBytes(f.cli.History());

    struct Case {
        std::vector<std::wstring> words;
        Lines said;
        DWORD exitCode;
    };
    const Case cases[] = {
        {{L"theme", alpha}, {L"already themed: " + alpha}, 3},
        {{L"theme", L"--dry-run", alpha}, {L"already themed: " + alpha}, 3},
        // A folder whose every program has a manifest.
        {{L"theme", f.programs / L"themed"}, {}, 3},
        {{L"untheme", plain}, {L"not themed: " + plain}, 3},
        {{L"untheme", L"--dry-run", plain}, {L"not themed: " + plain}, 3},
        {{L"history", L"--prune"}, {L"The history has no stale entries."}, 3},
        {{L"history", L"--prune", L"--dry-run"}, {L"The history has no stale entries."}, 3},
        // One item that needs nothing beside one that would be done.
        {{L"theme", L"--dry-run", alpha, plain}, {L"already themed: " + alpha, L"would theme: " + plain}, 0},
        {{L"untheme", L"--dry-run", plain, alpha}, {L"not themed: " + plain, L"would remove: " + ManifestOf(alpha)}, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(xpv_test::ToUtf8(c.words[0] + L" " + c.words[1]));
        const CliRun run = f.cli.Run(c.words);
        CHECK(run.exitCode == c.exitCode);
        CHECK(run.OutLines() == c.said);
        CHECK(run.err.empty());
        CHECK(xpv_test::ReadBytes(f.cli.History()) == history);
        CHECK(IsManifestPresent(ManifestOf(alpha)));
        CHECK_FALSE(IsManifestPresent(ManifestOf(plain)));
    }
}

TEST_CASE("The history commands read a history saved without a byte-order mark; one they cannot read fails and stays") {
    Fixture f;
    const std::wstring greek = f.Add(L"beta", kGreekName);
    f.Themed(greek);
    const std::string own = xpv_test::ReadBytes(f.cli.History());
    REQUIRE(own.starts_with("\xff\xfe"));
    const std::wstring text = DecodeProfileText(std::string_view(own).substr(2), TextForm::Utf16Le);
    const struct {
        const char* what;
        std::string bytes;
    } saved[] = {
        {"UTF-16LE without its mark", own.substr(2)},
        {"UTF-8 without its mark", EncodeProfileText(text, TextForm::Utf8)},
    };
    for (const auto& c : saved) {
        CAPTURE(c.what);
        REQUIRE(xpv_test::WriteBytes(f.cli.History(), c.bytes));
        const CliRun listed = f.cli.Run({L"history"});
        CHECK(listed.exitCode == 0);
        REQUIRE(listed.OutLines().size() == 1);
        CHECK(listed.OutLines()[0].starts_with(greek + L"  "));
        // Converted once to the program's own form, its entry kept.
        CHECK(xpv_test::ReadBytes(f.cli.History()) == own);

        REQUIRE(xpv_test::WriteBytes(f.cli.History(), c.bytes));
        const CliRun removal = f.cli.Run({L"untheme", L"--from-history", L"--dry-run"});
        CHECK(removal.exitCode == 0);
        CHECK(removal.OutLines() == Lines{L"would remove: " + ManifestOf(greek)});
    }

    // NUL bytes in no pattern of any text form: no encoding reads it.
    const std::string unreadable = "[Main]\r\n" + xpv_test::ToUtf8(ManifestOf(greek)) + std::string("=\0\0x\0y\0\0z\r\n", 12);
    REQUIRE(xpv_test::WriteBytes(f.cli.History(), unreadable));
    for (const std::vector<std::wstring>& command : {std::vector<std::wstring>{L"history"},
                                                     std::vector<std::wstring>{L"history", L"--prune"},
                                                     std::vector<std::wstring>{L"untheme", L"--from-history"}}) {
        CAPTURE(xpv_test::ToUtf8(command.back()));
        const CliRun run = f.cli.Run(command);
        CHECK(run.exitCode == 1);
        CHECK(run.out.empty());
        CHECK(run.err.find(f.cli.History() + L": the history file could not be read") != std::wstring::npos);
        CHECK(xpv_test::ReadBytes(f.cli.History()) == unreadable);
        CHECK(IsManifestPresent(ManifestOf(greek)));
    }
}
