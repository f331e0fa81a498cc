// The console program and programs that carry a manifest of their own, through the real process:
// the states list tells, and theme's answer to the question the window asks before theming. The
// machine's PreferExternalManifest is the test prefix's own, put back after each case; the
// program sees the Windows version of the prefix, as this test does.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFile.h"
#include "platform/WindowsVersion.h"
#include "support/CliProcess.h"
#include "support/FixturePath.h"
#include "support/MachineSideBySide.h"
#include "support/OwnManifestFixtures.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using namespace registry_test;
using xpv_test::CliFolder;
using xpv_test::CliRun;
using xpv_test::MachineSideBySide;
using xpv_test::TempFolder;
using Lines = std::vector<std::wstring>;

namespace {

const std::wstring kCli = xpv_test::FixturePath(XPV_CLI_PROGRAM);
const std::wstring kPlain = xpv_test::FixturePath(XPV_CLI_FIXTURES) + L"\\plain.exe";
const std::wstring kHidden = xpv_test::OwnManifestFixture(L"own_trust");
const std::wstring kMaker = xpv_test::OwnManifestFixture(L"own_cc6");
const std::wstring kPreferred =
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SideBySide\\PreferExternalManifest";

struct Folder {
    CliFolder cli{kCli};
    TempFolder programs{L"xpv-cli-own"};

    std::wstring Add(const std::wstring& fixture, const std::wstring& name, bool manifestBeside = false) const {
        const std::wstring path = programs / name;
        REQUIRE(xpv_test::CopyInto(fixture, path));
        if (manifestBeside) {
            REQUIRE(xpv_test::WriteBytes(ManifestPathFor(path),
                                         ComposeManifestDocument({}, ProcessorArchitecture::Amd64)));
        }
        return path;
    }
};

size_t CountOf(const std::wstring& text, const std::wstring& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

}  // namespace

TEST_CASE("list tells a program's own manifest before the file beside it; --themed and --unthemed choose by the file") {
    Folder f;
    const std::wstring plain = f.Add(kPlain, L"a-plain.exe");
    const std::wstring themed = f.Add(kPlain, L"b-themed.exe", true);
    const std::wstring hidden = f.Add(kHidden, L"c-hidden.exe");
    const std::wstring hiddenThemed = f.Add(kHidden, L"d-hidden-themed.exe", true);
    const std::wstring maker = f.Add(kMaker, L"e-maker.exe");
    const std::wstring makerThemed = f.Add(kMaker, L"f-maker-themed.exe", true);
    const std::wstring folder = f.programs.Path();

    const struct {
        std::vector<std::wstring> words;
        std::wstring output;
    } cases[] = {
        {{L"list", folder},
         L"unthemed             " + plain + L"\r\n"
         L"themed               " + themed + L"\r\n"
         L"own-manifest         " + hidden + L"\r\n"
         L"own-manifest         " + hiddenThemed + L"\r\n"
         L"own-manifest-themed  " + maker + L"\r\n"
         L"own-manifest-themed  " + makerThemed + L"\r\n"},
        {{L"list", folder, L"--themed", L"--format", L"csv"},
         L"state,path,product,description\r\n"
         L"themed," + themed + L",,\r\n"
         L"own-manifest," + hiddenThemed + L",,\r\n"
         L"own-manifest-themed," + makerThemed + L",,\r\n"},
        {{L"list", folder, L"--unthemed", L"--format", L"csv"},
         L"state,path,product,description\r\n"
         L"unthemed," + plain + L",,\r\n"
         L"own-manifest," + hidden + L",,\r\n"
         L"own-manifest-themed," + maker + L",,\r\n"},
    };
    for (const auto& c : cases) {
        CAPTURE(xpv_test::ToUtf8(c.words.back()));
        const CliRun run = f.cli.Run(c.words);
        CHECK(run.exitCode == 0);
        CHECK(run.out == c.output);
        CHECK(run.err.empty());
    }
}

TEST_CASE("list tells a program whose resource tree repeats its entries as one without its own manifest, at once") {
    Folder f;
    // 8 million paths through the tree to one manifest asking for Common Controls 6.
    const std::wstring repeated = f.Add(xpv_test::OwnManifestFixture(L"own_repeated-tree"), L"repeated.exe");
    const xpv_test::StartedCli started(f.cli.Program(), {L"list", f.programs.Path()});
    // Generous: following every path took over a minute.
    REQUIRE(started.EndsWithin(10000));
    const CliRun run = started.Finish();
    CHECK(run.exitCode == 0);
    CHECK(run.out == L"unthemed  " + repeated + L"\r\n");
    CHECK(run.err.empty());
}

TEST_CASE("theme prefers external manifests with --prefer-external-manifests, and without it warns of each hidden program") {
    const MachineSideBySide machine;
    // The question is due only where the file beside such a program is ignored.
    const bool vista = CurrentWindowsVersion().IsVistaOrLater();
    const std::optional<StoredValue> one = NumberValue(1);
    const struct {
        const char* what;
        std::optional<StoredValue> before;
        std::vector<std::wstring> options;
        bool warned;
        bool set;
        std::optional<StoredValue> after;
        bool readOnlyKey = false;
    } cases[] = {
        {"no option: a warning for each of the two hidden programs, the value left", std::nullopt, {}, vista, false,
         std::nullopt},
        {"the option sets the value once", NumberValue(0), {L"--prefer-external-manifests"}, false, vista,
         vista ? one : NumberValue(0)},
        {"preferred already: nothing to say", one, {}, false, false, one},
        {"a dry run reads no program's own manifest", std::nullopt, {L"--prefer-external-manifests", L"--dry-run"},
         false, false, std::nullopt},
        {"the option where the value cannot be set: told, the programs themed all the same", std::nullopt,
         {L"--prefer-external-manifests"}, false, false, std::nullopt, true},
    };
    for (const auto& c : cases) {
        INFO(c.what);
        MachineSideBySide::Set(c.before);
        Folder f;
        const std::wstring first = f.Add(kHidden, L"a-hidden.exe");
        const std::wstring second = f.Add(kHidden, L"b-hidden.exe");
        const std::wstring maker = f.Add(kMaker, L"c-maker.exe");
        std::vector<std::wstring> words{L"theme", first, second, maker};
        words.insert(words.end(), c.options.begin(), c.options.end());
        const bool dryRun = c.options.size() == 2;

        std::optional<xpv_test::ReadOnlySideBySideKey> readOnly;
        if (c.readOnlyKey) readOnly.emplace();
        const CliRun run = f.cli.Run(words);
        readOnly.reset();
        INFO(xpv_test::ToUtf8(run.err));
        const bool refused = c.readOnlyKey && vista;
        CHECK(run.exitCode == (refused ? 1u : 0u));
        CHECK((run.err.find(L"Windows could not be set to prefer external manifests (error 5: ") != std::wstring::npos) ==
              refused);
        Lines expected;
        if (c.set) expected.push_back(L"set: " + kPreferred + L" = 1");
        for (const std::wstring& program : {first, second, maker}) {
            expected.push_back((dryRun ? L"would theme: " : L"themed: ") + program);
        }
        CHECK(run.OutLines() == expected);
        // Each hidden program keeps its old look wherever the value is not set.
        const bool keepsOldLook = vista && !dryRun && MachineSideBySide::Read() != one;
        CHECK(CountOf(run.err, L"warning: ") == (keepsOldLook ? 2u : 0u));
        for (const std::wstring& program : {first, second}) {
            CHECK((run.err.find(L"warning: " + program + L": keeps its old look on Windows Vista and later") !=
                   std::wstring::npos) == keepsOldLook);
        }
        CHECK((run.err.find(L"--prefer-external-manifests") != std::wstring::npos) == c.warned);
        // The maker's program is themed as asked, and told of.
        CHECK((run.err.find(L"note: " + maker + L": its own manifest already gives it the Windows XP look.") !=
               std::wstring::npos) == !dryRun);
        CHECK(IsManifestPresent(ManifestPathFor(first)) == !dryRun);
        CHECK(MachineSideBySide::Read() == c.after);
    }
}
