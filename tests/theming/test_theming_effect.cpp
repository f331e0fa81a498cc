// What theming does beyond the manifest file: the loader's proof of every document, its memory of
// a program's manifest refreshed on Windows Vista and later, and programs whose own manifest
// already gives them the look.
#include <windows.h>

#include <string>

#include "history/HistoryStore.h"
#include "manifest/ManifestDocument.h"
#include "manifest/ExecutableArchitecture.h"
#include "manifest/ManifestFile.h"
#include "platform/ErrorText.h"
#include "theming/FailureReport.h"
#include "theming/ThemingService.h"
#include "platform/registry_test_root.h"
#include "support/FileTimes.h"
#include "support/OwnManifestFixtures.h"
#include "support/RefusedDocument.h"
#include "support/TempFolder.h"
#include "support/WindowsVersions.h"
#include "support/doctest_wide.h"

using namespace xpv_test;

namespace {

const ManifestDetails kDetails{L"Acme", L"Editor", L"edit.exe", L"Edits"};

struct Place {
    TempFolder app{L"xpv-app"};
    TempFolder programs{L"xpv-programs"};
    HistoryStore history{app / L"history.db"};
};

}  // namespace

TEST_CASE("On Vista or later theming and un-theming set the program's last-write time to now, on XP never; its bytes stay") {
    const struct {
        const char* what;
        WindowsVersion windows;
        bool refreshed;
    } cases[] = {
        {"Windows XP", kWindowsXp, false},
        {"Windows Vista", kWindowsVista, true},
        {"Windows 10", kWindows10, true},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        Place place;
        ThemingService theming(place.history, {}, c.windows);
        ThemingRun run(theming);
        const std::wstring program = CopyOfSelf(place.programs, L"program.exe");
        const std::string bytes = ReadBytes(program);
        MakeOld(program);

        ULONGLONG before = Now();
        const ProgramOutcome themed = run.Theme(program, kDetails);
        REQUIRE(themed.Done());
        CHECK_FALSE(themed.showsAfterRestart);
        CHECK(IsManifestPresent(ManifestPathFor(program)));
        CHECK((c.refreshed ? LastWriteOf(program) >= before : LastWriteOf(program) == Ticks(kLongAgo)));
        CHECK(ReadBytes(program) == bytes);

        MakeOld(program);
        before = Now();
        const ProgramOutcome removed = run.Untheme(ManifestPathFor(program), HistoryUpdate::Keep);
        CHECK(removed.Done());
        CHECK_FALSE(removed.showsAfterRestart);
        CHECK_FALSE(IsManifestPresent(ManifestPathFor(program)));
        CHECK((c.refreshed ? LastWriteOf(program) >= before : LastWriteOf(program) == Ticks(kLongAgo)));
        CHECK(ReadBytes(program) == bytes);

        // Nothing left to remove changes nothing.
        MakeOld(program);
        CHECK(run.Untheme(ManifestPathFor(program), HistoryUpdate::Keep).Done());
        CHECK(LastWriteOf(program) == Ticks(kLongAgo));
    }
}

TEST_CASE("A program whose time cannot be set keeps its new state, and the report says it shows after a restart") {
    for (const WindowsVersion windows : {kWindowsXp, kWindows10}) {
        CAPTURE(windows.major);
        Place place;
        ThemingService theming(place.history, {}, windows);
        ThemingRun run(theming);
        // The platform refuses to set the time of a folder opened as a file, as it refuses a
        // program on a share the user may not write to.
        const std::wstring program = place.programs.AddFolder(L"program.exe");

        const ProgramOutcome themed = run.Theme(program, kDetails);
        REQUIRE(themed.Done());
        CHECK(run.CommitHistory().notRecorded == 0);
        CHECK(place.history.List().entries.size() == 1);
        CHECK(themed.showsAfterRestart == windows.IsVistaOrLater());
        FailureReport themeReport(FailureReport::Action::Theme);
        themeReport.Add(themed);

        const ProgramOutcome removed = run.Untheme(ManifestPathFor(program), HistoryUpdate::Keep);
        CHECK(removed.Done());
        CHECK(removed.showsAfterRestart == windows.IsVistaOrLater());
        FailureReport untheme(FailureReport::Action::Untheme);
        untheme.Add(removed);

        for (const FailureReport* report : {&themeReport, &untheme}) {
            if (!windows.IsVistaOrLater()) {
                CHECK(report->Empty());
                continue;
            }
            CHECK(report->Text() == L"Windows could not be told that this program changed, so the change shows after "
                                    L"Windows restarts:\r\n\r\n" +
                                        program);
        }
    }
}

TEST_CASE("A document the loader refuses leaves the previous state and no history entry, and is reported with its error") {
    const struct {
        const char* what;
        bool manifestBefore;
    } cases[] = {
        {"no manifest before", false},
        {"this program's earlier manifest before", true},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        Place place;
        ThemingService theming(place.history, {}, kWindows10, HalfADocument);
        const std::wstring program = CopyOfSelf(place.programs, L"program.exe");
        const std::wstring manifest = ManifestPathFor(program);
        const std::string previous =
            ComposeManifestDocument({L"Old", L"Editor", L"edit.exe", L"Earlier"}, ReadExecutableArchitecture(program));
        if (c.manifestBefore) REQUIRE(xpv_test::WriteBytes(manifest, previous));
        MakeOld(program);

        ThemingRun run(theming);
        const ProgramOutcome outcome = run.Theme(program, kDetails);
        run.CommitHistory();
        CHECK(outcome.failure == ManifestFailure::Rejected);
        REQUIRE(outcome.platformError != ERROR_SUCCESS);
        CHECK(IsManifestPresent(manifest) == c.manifestBefore);
        if (c.manifestBefore) CHECK(ReadBytes(manifest) == previous);
        CHECK(place.history.List().entries.empty());
        CHECK(LastWriteOf(program) == Ticks(kLongAgo));

        FailureReport report(FailureReport::Action::Theme);
        report.Add(outcome);
        CHECK(report.Text() == L"This program could not be themed:\r\n\r\n" + program +
                                   L" - Windows refused the manifest written for it, so the program was left as it was (" +
                                   PlatformErrorText(outcome.platformError) + L")\r\n\r\nEverything else was done.");
    }
}

TEST_CASE("A program whose own manifest gives it the look, or hides the file on Vista and later, is themed, and the report says so") {
    // own_cc6 asks for Common Controls 6 itself; own_trust carries a manifest without it.
    const struct {
        const char* what;
        WindowsVersion windows;
        bool externalPreferred;
        bool keepsOldLook;
    } cases[] = {
        {"Windows 10", kWindows10, false, true},
        {"Windows 10, external manifests preferred", kWindows10, true, false},
        {"Windows XP, which takes the file beside it", kWindowsXp, false, false},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        Place place;
        const registry_test::TestRoot root(L"sidebyside");
        const SideBySideKey key{root.Root(), root / L"SideBySide"};
        if (c.externalPreferred) REQUIRE(PreferExternalManifests(key) == ERROR_SUCCESS);
        ThemingService theming(place.history, {}, c.windows, ComposeManifestDocument, key);
        FailureReport report(FailureReport::Action::Theme);
        {
            ThemingRun run(theming);
            for (const wchar_t* fixture : {L"own_cc6", L"own_trust"}) {
                const std::wstring program = place.programs / (std::wstring(fixture) + L".exe");
                REQUIRE(CopyFileW(OwnManifestFixture(fixture).c_str(), program.c_str(), FALSE));
                const ProgramOutcome outcome = run.Theme(program, kDetails);
                REQUIRE(outcome.Done());
                CHECK(IsManifestPresent(ManifestPathFor(program)));
                report.Add(outcome);
            }
        }
        CHECK(place.history.List().entries.size() == 2);
        const std::wstring own = L"This program was themed as asked, but its own manifest already gives it the "
                                 L"Windows XP look:\r\n\r\n" +
                                 place.programs / L"own_cc6.exe";
        const std::wstring old = L"This program was themed, but it keeps its old look on Windows Vista and later, "
                                 L"because its own manifest takes the place of the one beside it while external "
                                 L"manifests are not preferred:\r\n\r\n" +
                                 place.programs / L"own_trust.exe";
        CHECK(report.Text() == (c.keepsOldLook ? old + L"\r\n\r\n" + own : own));
    }
}
