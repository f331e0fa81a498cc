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
#include "theming/OutcomeReport.h"
#include "theming/ThemingService.h"
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
    OwnManifestReadings ownManifests;
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
        const std::wstring program = CopyOfSelf(place.programs, L"program.exe");
        const std::string bytes = ReadBytes(program);
        MakeOld(program);

        ULONGLONG before = Now();
        const ThemingService::ThemeOutcome themed = theming.Theme(program, kDetails, ownManifests);
        REQUIRE(themed.written());
        CHECK_FALSE(themed.loaderMayRemember);
        CHECK(IsManifestPresent(ManifestPathFor(program)));
        CHECK((c.refreshed ? LastWriteOf(program) >= before : LastWriteOf(program) == Ticks(kLongAgo)));
        CHECK(ReadBytes(program) == bytes);

        MakeOld(program);
        before = Now();
        const ThemingService::UnthemeOutcome removed = theming.RemoveTheme(ManifestPathFor(program));
        CHECK(removed.failure == ManifestFailure::None);
        CHECK_FALSE(removed.loaderMayRemember);
        CHECK_FALSE(IsManifestPresent(ManifestPathFor(program)));
        CHECK((c.refreshed ? LastWriteOf(program) >= before : LastWriteOf(program) == Ticks(kLongAgo)));
        CHECK(ReadBytes(program) == bytes);

        // Nothing left to remove changes nothing.
        MakeOld(program);
        CHECK(theming.RemoveTheme(ManifestPathFor(program)).failure == ManifestFailure::None);
        CHECK(LastWriteOf(program) == Ticks(kLongAgo));
    }
}

TEST_CASE("A program whose time cannot be set keeps its new state, and the report says it shows after a restart") {
    OwnManifestReadings ownManifests;
    for (const WindowsVersion windows : {kWindowsXp, kWindows10}) {
        CAPTURE(windows.major);
        Place place;
        ThemingService theming(place.history, {}, windows);
        // The platform refuses to set the time of a folder opened as a file, as it refuses a
        // program on a share the user may not write to.
        const std::wstring program = place.programs.AddFolder(L"program.exe");

        const ThemingService::ThemeOutcome themed = theming.Theme(program, kDetails, ownManifests);
        REQUIRE(themed.written());
        CHECK(themed.recorded);
        CHECK(themed.loaderMayRemember == windows.IsVistaOrLater());
        FailureReport themeReport(FailureReport::Action::Theme);
        ReportOutcome(themeReport, program, themed);

        const ThemingService::UnthemeOutcome removed = theming.RemoveTheme(ManifestPathFor(program));
        CHECK(removed.failure == ManifestFailure::None);
        CHECK(removed.loaderMayRemember == windows.IsVistaOrLater());
        FailureReport untheme(FailureReport::Action::Untheme);
        ReportOutcome(untheme, program, removed);

        for (const FailureReport* report : {&themeReport, &untheme}) {
            if (!windows.IsVistaOrLater()) {
                CHECK(report->Empty());
                continue;
            }
            CHECK(report->Text() == L"Windows could not be told that these programs changed, so the change shows after "
                                    L"Windows restarts:\r\n\r\n" +
                                        program + L"\r\n");
        }
    }
}

TEST_CASE("A document the loader refuses leaves the previous state and no history entry, and is reported with its error") {
    OwnManifestReadings ownManifests;
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

        const ThemingService::ThemeOutcome outcome = theming.Theme(program, kDetails, ownManifests);
        CHECK(outcome.failure == ManifestFailure::Rejected);
        CHECK_FALSE(outcome.recorded);
        REQUIRE(outcome.platformError != ERROR_SUCCESS);
        CHECK(IsManifestPresent(manifest) == c.manifestBefore);
        if (c.manifestBefore) CHECK(ReadBytes(manifest) == previous);
        CHECK(place.history.List().entries.empty());
        CHECK(LastWriteOf(program) == Ticks(kLongAgo));

        FailureReport report(FailureReport::Action::Theme);
        ReportOutcome(report, program, outcome);
        CHECK(report.Text() == L"These programs could not be themed:\r\n\r\n" + program +
                                   L" - Windows refused the manifest written for it, so the program was left as it was (" +
                                   PlatformErrorText(outcome.platformError) + L")\r\n\r\nEverything else was done.");
    }
}

TEST_CASE("A program whose own manifest already asks for Common Controls 6 is themed as asked, and the report says so") {
    OwnManifestReadings ownManifests;
    const struct {
        const wchar_t* fixture;
        OwnManifest own;
    } cases[] = {
        {L"own_cc6", OwnManifest::AsksForCommonControls6},
        {L"own_trust", OwnManifest::WithoutCommonControls6},
    };
    Place place;
    ThemingService theming(place.history, {}, kWindows10);
    FailureReport report(FailureReport::Action::Theme);
    for (const auto& c : cases) {
        const std::wstring program = place.programs / (std::wstring(c.fixture) + L".exe");
        REQUIRE(CopyFileW(OwnManifestFixture(c.fixture).c_str(), program.c_str(), FALSE));
        const ThemingService::ThemeOutcome outcome = theming.Theme(program, kDetails, ownManifests);
        REQUIRE(outcome.written());
        CHECK(outcome.ownManifest == c.own);
        CHECK(IsManifestPresent(ManifestPathFor(program)));
        ReportOutcome(report, program, outcome);
    }
    CHECK(place.history.List().entries.size() == 2);
    CHECK(report.Text() == L"These programs were themed as asked, but their own manifest already gives them the "
                           L"Windows XP look:\r\n\r\n" +
                               place.programs / L"own_cc6.exe" + L"\r\n");
}
