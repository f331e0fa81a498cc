// tweak list, refresh and apply through the console program, over a catalogue of its own whose
// tweaks name values under a registry key of the test.
#include <string>
#include <vector>

#include "platform/ErrorText.h"
#include "platform/TextEncoding.h"
#include "platform/registry_test_root.h"
#include "settings/refusing_registry_keys.h"
#include "support/CliProcess.h"
#include "support/FixturePath.h"
#include "support/doctest_wide.h"

using namespace registry_test;
using xpv_test::CliFolder;
using xpv_test::CliRun;
using Lines = std::vector<std::wstring>;

namespace {

const std::wstring kCli = xpv_test::FixturePath(XPV_CLI_PROGRAM);

struct Fixture {
    CliFolder cli{kCli};
    TestRoot root{L"cli-tweak"};

    Fixture() {
        const std::wstring key = L"HKEY_CURRENT_USER," + root.Path() + L",";
        const std::wstring catalogue =
            L"[Look]\r\n"
            L"Menu speed=" + key + L"Speed,\r\n"
            L"xxxxxMenu speed True1=fast\r\n"
            L"xxxxxMenu speed False1=slow\r\n"
            L"xxxxxMenu speed Type1=String\r\n"
            L"Icons=" + key + L"Icons,\r\n"
            L"xxxxxIcons True1=1\r\n"
            L"xxxxxIcons False1=0\r\n"
            L"xxxxxIcons Type1=Int\r\n"
            L"[Broken]\r\n"
            L"Untyped=" + key + L"Untyped,\r\n"
            L"xxxxxUntyped True1=1\r\n";
        WriteCatalogue(catalogue);
        PutStoredValue(root.Handle(), root.Path(), L"Icons", NumberValue(0));
    }
    void WriteCatalogue(const std::wstring& catalogue) const {
        REQUIRE(xpv_test::WriteBytes(cli.Path() + L"\\settings.db", Utf8FromWide(L"\xFEFF" + catalogue)));
    }
    std::optional<StoredValue> Stored(const std::wstring& value) const {
        return ReadStoredValue(root.Handle(), root.Path(), value);
    }
};

}  // namespace

TEST_CASE("tweak lists the catalogue, reads each tweak's state and sets tweaks on and off") {
    Fixture f;
    const CliRun listed = f.cli.Run({L"tweak", L"list"});
    CHECK(listed.exitCode == 0);
    CHECK(listed.OutLines() == Lines{L"Look    Menu speed", L"Look    Icons", L"Broken  Untyped"});

    // A value that is missing is neither on nor off.
    const CliRun before = f.cli.Run({L"tweak", L"refresh", L"--group", L"look"});
    CHECK(before.exitCode == 0);
    CHECK(before.OutLines() == Lines{L"other  Look  Menu speed", L"off    Look  Icons"});

    const CliRun dry = f.cli.Run({L"tweak", L"apply", L"--dry-run", L"menu SPEED", L"Icons"});
    CHECK(dry.exitCode == 0);
    CHECK(dry.OutLines() == Lines{L"would set on: Menu speed",
                                  L"  HKEY_CURRENT_USER\\" + f.root.Path() + L"\\Speed = fast",
                                  L"would set on: Icons", L"  HKEY_CURRENT_USER\\" + f.root.Path() + L"\\Icons = 1"});
    CHECK_FALSE(f.Stored(L"Speed").has_value());

    const CliRun on = f.cli.Run({L"tweak", L"apply", L"Menu speed", L"Icons"});
    CHECK(on.exitCode == 0);
    CHECK(on.OutLines() == Lines{L"on: Menu speed", L"on: Icons"});
    CHECK(f.Stored(L"Speed") == StringValue(L"fast"));
    CHECK(f.Stored(L"Icons") == NumberValue(1));
    const CliRun json = f.cli.Run({L"tweak", L"refresh", L"--group", L"Look", L"--format", L"json"});
    CHECK(json.out == L"[\r\n  {\"group\": \"Look\", \"tweak\": \"Menu speed\", \"state\": \"on\"},\r\n"
                      L"  {\"group\": \"Look\", \"tweak\": \"Icons\", \"state\": \"on\"}\r\n]\r\n");

    const CliRun off = f.cli.Run({L"tweak", L"apply", L"--off", L"Menu speed"});
    CHECK(off.exitCode == 0);
    CHECK(off.OutLines() == Lines{L"off: Menu speed"});
    CHECK(f.Stored(L"Speed") == StringValue(L"slow"));

    // A tweak already so needs nothing: 3 when no tweak named needed a change, as theme and untheme.
    struct Case {
        std::vector<std::wstring> words;
        Lines said;
        DWORD exitCode;
    };
    const Case cases[] = {
        {{L"tweak", L"apply", L"Icons"}, {L"already on: Icons"}, 3},
        {{L"tweak", L"apply", L"--off", L"Menu speed"}, {L"already off: Menu speed"}, 3},
        {{L"tweak", L"apply", L"--dry-run", L"Icons"}, {L"already on: Icons"}, 3},
        {{L"tweak", L"apply", L"--dry-run", L"Icons", L"Menu speed"},
         {L"already on: Icons", L"would set on: Menu speed", L"  HKEY_CURRENT_USER\\" + f.root.Path() + L"\\Speed = fast"},
         0},
    };
    for (const Case& c : cases) {
        CAPTURE(xpv_test::ToUtf8(c.said.front()));
        const CliRun run = f.cli.Run(c.words);
        CHECK(run.exitCode == c.exitCode);
        CHECK(run.OutLines() == c.said);
        CHECK(run.err.empty());
        CHECK(f.Stored(L"Icons") == NumberValue(1));
        CHECK(f.Stored(L"Speed") == StringValue(L"slow"));
    }
    const CliRun oneOfTwo = f.cli.Run({L"tweak", L"apply", L"Icons", L"Menu speed"});
    CHECK(oneOfTwo.exitCode == 0);
    CHECK(oneOfTwo.OutLines() == Lines{L"already on: Icons", L"on: Menu speed"});
    CHECK(f.Stored(L"Speed") == StringValue(L"fast"));

    // A tweak the catalogue gives no type is never written: a failure, told with its reason.
    const CliRun untyped = f.cli.Run({L"tweak", L"apply", L"Untyped"});
    CHECK(untyped.exitCode == 1);
    CHECK(untyped.err.find(L"\"Untyped\" was not turned on. Its entry \"xxxxxUntyped Type1\" in settings.db names "
                           L"no type") != std::wstring::npos);
    CHECK_FALSE(f.Stored(L"Untyped").has_value());
}

// The key nobody may write stands for HKEY_LOCAL_MACHINE to a standard user.
TEST_CASE("tweak apply fails for a tweak the registry refuses or the catalogue cannot write, in the window's words") {
    Fixture f;
    const ReadOnlyKey locked(f.root.Handle(), f.root / L"Locked");
    const std::wstring key = L"HKEY_CURRENT_USER," + f.root.Path();
    f.WriteCatalogue(L"[Rights]\r\n"
                     L"Locked=" + key + L"\\Locked,Value,\r\n"
                     L"xxxxxLocked True1=1\r\n"
                     L"xxxxxLocked False1=0\r\n"
                     L"xxxxxLocked Type1=Int\r\n"
                     L"Huge=" + key + L",Huge,\r\n"
                     L"xxxxxHuge True1=4294967295\r\n"
                     L"xxxxxHuge False1=0\r\n"
                     L"xxxxxHuge Type1=Int\r\n"
                     L"Icons=" + key + L",Icons,\r\n"
                     L"xxxxxIcons True1=1\r\n"
                     L"xxxxxIcons False1=0\r\n"
                     L"xxxxxIcons Type1=Int\r\n"
                     L"Rounded=" + key + L",Rounded,\r\n"
                     L"xxxxxRounded True1=2.5\r\n"
                     L"xxxxxRounded False1=0\r\n"
                     L"xxxxxRounded Type1=Int\r\n");
    const std::wstring lockedPlace = L"HKEY_CURRENT_USER\\" + f.root.Path() + L"\\Locked\\Value";
    const std::wstring refused = L"\"Locked\" was not turned on. The registry refused to write " + lockedPlace + L" (" +
                                 PlatformErrorText(ERROR_ACCESS_DENIED) +
                                 L"): this account may not change it; run XP Vestrim as administrator.\r\n";
    const std::wstring outOfRange =
        L"\"Huge\" was not turned on. Its entry \"xxxxxHuge True1\" in settings.db holds \"4294967295\", a number a "
        L"registry number cannot hold (it holds -2147483648 to 2147483647): correct the entry.\r\n";
    struct Case {
        std::vector<std::wstring> words;
        Lines said;
        std::wstring complained;
        DWORD exitCode;
        std::optional<StoredValue> icons;
    };
    const Case cases[] = {
        {{L"tweak", L"apply", L"Locked"}, {}, refused, 1, NumberValue(0)},
        {{L"tweak", L"apply", L"Locked", L"Icons"}, {L"on: Icons"}, refused, 1, NumberValue(1)},
        {{L"tweak", L"apply", L"Huge"}, {}, outOfRange, 1, NumberValue(0)},
        // A dry run finds what the catalogue's entry cannot write; a refusal only the registry tells.
        {{L"tweak", L"apply", L"--dry-run", L"Huge"}, {}, outOfRange, 1, NumberValue(0)},
        {{L"tweak", L"apply", L"--dry-run", L"Locked"}, {L"would set on: Locked", L"  " + lockedPlace + L" = 1"}, L"",
         0, NumberValue(0)},
        // Written as the number 2, which then reads as neither 2.5 nor 0: what was written tells.
        {{L"tweak", L"apply", L"Rounded"}, {L"on: Rounded"}, L"", 0, NumberValue(0)},
    };
    for (const Case& c : cases) {
        CAPTURE(xpv_test::ToUtf8(c.words.back()));
        CAPTURE(c.words.size());
        PutStoredValue(f.root.Handle(), f.root.Path(), L"Icons", NumberValue(0));
        const CliRun run = f.cli.Run(c.words);
        CHECK(run.exitCode == c.exitCode);
        CHECK(run.OutLines() == c.said);
        CHECK(run.err == c.complained);
        CHECK(f.Stored(L"Icons") == c.icons);
        CHECK_FALSE(f.Stored(L"Huge").has_value());
        CHECK_FALSE(ReadStoredValue(f.root.Handle(), f.root / L"Locked", L"Value").has_value());
    }
    CHECK(f.Stored(L"Rounded") == NumberValue(2));
}

TEST_CASE("Without its catalogue every tweak command fails, and says where the catalogue belongs") {
    const CliFolder cli(kCli);
    for (const std::vector<std::wstring>& words : {std::vector<std::wstring>{L"tweak", L"list"},
                                                   std::vector<std::wstring>{L"tweak", L"apply", L"Icons"}}) {
        CAPTURE(xpv_test::ToUtf8(words[1]));
        const CliRun run = cli.Run(words);
        CHECK(run.exitCode == 1);
        CHECK(run.out.empty());
        CHECK(run.err.find(L"\\settings.db: the tweak catalogue cannot be read; it ships beside the program.") !=
              std::wstring::npos);
    }
}
