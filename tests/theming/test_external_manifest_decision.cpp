// The question before theming, through the real registry of the test prefix: the machine's
// PreferExternalManifest, read and written in the 64-bit view, put back as it was after each case.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "theming/ExternalManifestPreference.h"
#include "theming/ExternalManifestDecision.h"
#include "theming/ThemingService.h"
#include "platform/registry_test_root.h"
#include "support/MachineSideBySide.h"
#include "support/OwnManifestFixtures.h"
#include "support/TempFolder.h"
#include "support/WindowsVersions.h"
#include "support/doctest_wide.h"

using namespace registry_test;
using xpv_test::OwnManifestFixture;
using xpv_test::MachineSideBySide;
using xpv_test::TempFolder;
using xpv_test::kWindows10;
using xpv_test::kWindowsVista;
using xpv_test::kWindowsXp;
using Answer = ExternalManifestDecision::Answer;

namespace {

// Copies of the fixture programs: one carrying no manifest, one whose own manifest asks for
// Common Controls 6, and `hidden` ones whose own manifest hides the file beside them.
struct Programs {
    TempFolder folder;
    std::wstring plain = xpv_test::CopyOfSelf(folder, L"plain.exe");
    std::wstring themedByMaker = Copy(L"own_cc6", L"maker.exe");

    std::wstring Copy(const wchar_t* fixture, const std::wstring& name) const {
        const std::wstring copy = folder / name;
        REQUIRE(CopyFileW(OwnManifestFixture(fixture).c_str(), copy.c_str(), FALSE));
        return copy;
    }
    std::vector<std::wstring> Hidden(int count) const {
        std::vector<std::wstring> copies;
        for (int i = 0; i < count; ++i) copies.push_back(Copy(L"own_trust", L"hidden" + std::to_wstring(i) + L".exe"));
        return copies;
    }
};

}  // namespace

TEST_CASE("The question is due on Vista or later for a program whose own manifest hides the file, unless external manifests are preferred") {
    OwnManifestReadings ownManifests;
    const MachineSideBySide machine;
    const Programs programs;
    const std::wstring hidden = programs.Hidden(1).front();
    const std::vector<std::wstring> chosen{programs.plain, hidden, programs.themedByMaker};

    const struct {
        const char* what;
        std::optional<StoredValue> stored;
        bool preferred;
    } values[] = {
        {"no value", std::nullopt, false},
        {"the number 0", NumberValue(0), false},
        {"the number 1", NumberValue(1), true},
        {"the number 2", NumberValue(2), false},
        {"the text 1", StringValue(L"1"), false},
    };
    for (const auto& value : values) {
        CAPTURE(value.what);
        MachineSideBySide::Set(value.stored);
        CHECK(ExternalManifestsPreferred() == value.preferred);
        for (const WindowsVersion windows : {kWindowsXp, kWindowsVista, kWindows10}) {
            CAPTURE(windows.major);
            const ExternalManifestDecision question(chosen, ownManifests, windows);
            const bool due = windows.IsVistaOrLater() && !value.preferred;
            CHECK(question.Due() == due);
            CHECK(question.NeverDue() == (!windows.IsVistaOrLater() || value.preferred));
            CHECK(question.Programs() == (due ? std::vector<std::wstring>{hidden} : std::vector<std::wstring>{}));
        }
    }

    MachineSideBySide::Set(std::nullopt);
    const struct {
        const char* what;
        std::vector<std::wstring> chosen;
        bool due;
    } choices[] = {
        {"nothing chosen", {}, false},
        {"a program without a manifest of its own", {programs.plain}, false},
        {"a program themed by its maker", {programs.themedByMaker}, false},
        {"a program whose own manifest hides the file", {hidden}, true},
        {"a program of each kind", chosen, true},
    };
    for (const auto& choice : choices) {
        CAPTURE(choice.what);
        CHECK(ExternalManifestDecision(choice.chosen, ownManifests, kWindows10).Due() == choice.due);
    }
}

TEST_CASE("Yes prefers external manifests and themes, No themes without, Cancel themes nothing") {
    OwnManifestReadings ownManifests;
    const MachineSideBySide machine;
    const Programs programs;
    const std::vector<std::wstring> hidden = programs.Hidden(1);
    const struct {
        const char* what;
        std::optional<StoredValue> before;
        Answer answer;
        bool apply;
        std::optional<StoredValue> after;
    } cases[] = {
        {"Yes without a value", std::nullopt, Answer::Yes, true, NumberValue(1)},
        {"Yes over the number 0", NumberValue(0), Answer::Yes, true, NumberValue(1)},
        {"Yes over the text 1", StringValue(L"1"), Answer::Yes, true, NumberValue(1)},
        {"No", std::nullopt, Answer::No, true, std::nullopt},
        {"No over the number 0", NumberValue(0), Answer::No, true, NumberValue(0)},
        {"Cancel", std::nullopt, Answer::Cancel, false, std::nullopt},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        MachineSideBySide::Set(c.before);
        const ExternalManifestDecision question(hidden, ownManifests, kWindowsVista);
        REQUIRE(question.Due());
        const ExternalManifestDecision::Decision decision = question.Decide(c.answer);
        CHECK(decision.apply == c.apply);
        CHECK(decision.preference.kind ==
              (c.answer == Answer::Yes ? PreferenceOutcome::Kind::Set : PreferenceOutcome::Kind::Declined));
        CHECK(MachineSideBySide::Read() == c.after);
        CHECK(ExternalManifestDecision(hidden, ownManifests, kWindowsVista).Due() == (c.answer != Answer::Yes));
    }
}

TEST_CASE("Yes where the value cannot be set tells the platform's error, and themes anyway") {
    OwnManifestReadings ownManifests;
    const TestRoot root(L"sidebyside");
    const xpv_test::ReadOnlyRegistryKey key(root.Handle(), root / L"SideBySide");
    const SideBySideKey readOnly{root.Root(), key.Path()};
    const Programs programs;
    const ExternalManifestDecision question(programs.Hidden(1), ownManifests, kWindows10, readOnly);
    REQUIRE(question.Due());
    const ExternalManifestDecision::Decision decision = question.Decide(Answer::Yes);
    CHECK(decision.apply);
    CHECK(decision.preference.kind == PreferenceOutcome::Kind::NotSet);
    CHECK(decision.preference.platformError == ERROR_ACCESS_DENIED);
    CHECK_FALSE(ExternalManifestsPreferred(readOnly));
    CHECK_FALSE(ReadStoredValue(root.Handle(), key.Path(), kPreferExternalManifest).has_value());
}

TEST_CASE("One action reads each program's own manifest once: its theming tells what its question read") {
    const MachineSideBySide machine;
    MachineSideBySide::Set(std::nullopt);
    const Programs programs;
    const std::wstring program = programs.Hidden(1).front();
    HistoryStore history(programs.folder / L"history.db");
    ThemingService theming(history, {}, kWindows10);

    {
        ThemingRun run(theming);
        REQUIRE(ExternalManifestDecision({program}, run.OwnManifests(), kWindows10).Due());
        // Changed after the question: the action goes on with what it read.
        REQUIRE(CopyFileW(OwnManifestFixture(L"own_cc6").c_str(), program.c_str(), FALSE));
        const ProgramOutcome outcome = run.Theme(program, ManifestDetails{});
        CHECK(outcome.keepsOldLook);
        CHECK_FALSE(outcome.themedByOwnManifest);
    }
    ThemingRun nextAction(theming);
    const ProgramOutcome outcome = nextAction.Theme(program, ManifestDetails{});
    CHECK(outcome.themedByOwnManifest);
    CHECK_FALSE(outcome.keepsOldLook);
    CHECK_FALSE(ExternalManifestDecision({program}, nextAction.OwnManifests(), kWindows10).Due());
}
