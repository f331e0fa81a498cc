#include <string>

#include "theming/FailureReport.h"
#include "support/doctest_wide.h"

namespace {

ProgramOutcome Done(const std::wstring& program) { return ProgramOutcome{.program = program}; }

}  // namespace

TEST_CASE("The notes of an action end its report, each naming the first ten programs, then how many more") {
    FailureReport report(FailureReport::Action::Theme);
    for (int i = 0; i < 12; ++i) {
        ProgramOutcome own = Done(L"C:\\own" + std::to_wstring(i) + L".exe");
        own.themedByOwnManifest = true;
        report.Add(own);
    }
    ProgramOutcome kept = Done(L"C:\\kept.exe");
    kept.showsAfterRestart = true;
    report.Add(kept);
    report.Add(Done(L"C:\\plain.exe"));
    CHECK_FALSE(report.Empty());
    std::wstring own = L"These programs were themed as asked, but their own manifest already gives them the Windows XP "
                       L"look:\r\n\r\n";
    for (int i = 0; i < 10; ++i) own += L"C:\\own" + std::to_wstring(i) + L".exe\r\n";
    own += L"and 2 more";
    const std::wstring restart =
        L"Windows could not be told that this program changed, so the change shows after Windows restarts:\r\n\r\n"
        L"C:\\kept.exe";
    CHECK(report.Text() == own + L"\r\n\r\n" + restart);

    // After the failures and the history, with an empty line between.
    report.Add(L"C:\\failed.exe", ManifestFailure::InUse);
    report.HistoryNotRecorded();
    const std::wstring text = report.Text();
    CHECK(text.starts_with(L"This program could not be themed:\r\n\r\nC:\\failed.exe - in use by another program\r\n\r\n"
                           L"Everything else was done.\r\n\r\nThe history file could not record"));
    CHECK(text.ends_with(L"Their manifests were written.\r\n\r\n" + own + L"\r\n\r\n" + restart));
}

TEST_CASE("A report of only plain outcomes is empty") {
    FailureReport report(FailureReport::Action::Untheme);
    report.Add(Done(L"C:\\a.exe"));
    report.Add(HistoryCommit{});
    report.Preference({PreferenceOutcome::Kind::NotAsked});
    CHECK(report.Empty());
    CHECK(report.Text().empty());
}

TEST_CASE("Each outcome is told in the number of its programs: one program, or several") {
    const struct {
        const char* name;
        FailureReport::Action action;
        void (*mark)(ProgramOutcome&);
        const wchar_t* one;
        const wchar_t* several;
    } cases[] = {
        {"not themed", FailureReport::Action::Theme,
         [](ProgramOutcome& outcome) { outcome.failure = ManifestFailure::InUse; },
         L"This program could not be themed:", L"These programs could not be themed:"},
        {"not un-themed", FailureReport::Action::Untheme,
         [](ProgramOutcome& outcome) { outcome.failure = ManifestFailure::InUse; },
         L"The theme of this program could not be removed:", L"The themes of these programs could not be removed:"},
        {"keeps its old look", FailureReport::Action::Theme, [](ProgramOutcome& outcome) { outcome.keepsOldLook = true; },
         L"This program was themed, but it keeps its old look on Windows Vista and later, because its own manifest "
         L"takes the place of the one beside it while external manifests are not preferred:",
         L"These programs were themed, but they keep their old look on Windows Vista and later, because their own "
         L"manifest takes the place of the one beside them while external manifests are not preferred:"},
        {"already themed by its own manifest", FailureReport::Action::Theme,
         [](ProgramOutcome& outcome) { outcome.themedByOwnManifest = true; },
         L"This program was themed as asked, but its own manifest already gives it the Windows XP look:",
         L"These programs were themed as asked, but their own manifest already gives them the Windows XP look:"},
        {"shows after a restart", FailureReport::Action::Untheme,
         [](ProgramOutcome& outcome) { outcome.showsAfterRestart = true; },
         L"Windows could not be told that this program changed, so the change shows after Windows restarts:",
         L"Windows could not be told that these programs changed, so the change shows after Windows restarts:"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.name);
        FailureReport one(c.action);
        FailureReport several(c.action);
        for (const wchar_t* path : {L"C:\\a.exe", L"C:\\b.exe"}) {
            ProgramOutcome outcome = Done(path);
            c.mark(outcome);
            if (several.Empty()) one.Add(outcome);
            several.Add(outcome);
        }
        CHECK(one.Text().starts_with(std::wstring(c.one) + L"\r\n\r\nC:\\a.exe"));
        CHECK(several.Text().starts_with(std::wstring(c.several) + L"\r\n\r\nC:\\a.exe"));
        CHECK(several.Text().find(L"C:\\b.exe") != std::wstring::npos);
    }
}

TEST_CASE("What came of the question about external manifests is told, before the programs it concerns") {
    const struct {
        PreferenceOutcome preference;
        const wchar_t* start;
    } cases[] = {
        {{PreferenceOutcome::Kind::Set},
         L"Windows now prefers external manifests (HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
         L"SideBySide\\PreferExternalManifest = 1): the programs that carry a manifest of their own take the one "
         L"beside them."},
        {{PreferenceOutcome::Kind::NotSet, ERROR_ACCESS_DENIED},
         L"Windows could not be set to prefer external manifests (error 5: "},
        {{PreferenceOutcome::Kind::Declined}, L"These programs were themed, but they keep their old look"},
    };
    for (const auto& c : cases) {
        CAPTURE(static_cast<int>(c.preference.kind));
        FailureReport report(FailureReport::Action::Theme);
        report.Preference(c.preference);
        for (const wchar_t* path : {L"C:\\a.exe", L"C:\\b.exe"}) {
            ProgramOutcome outcome = Done(path);
            outcome.keepsOldLook = c.preference.kind != PreferenceOutcome::Kind::Set;
            report.Add(outcome);
        }
        const std::wstring text = report.Text();
        CHECK(text.starts_with(c.start));
        CHECK((text.find(L"keep their old look on Windows Vista and later") != std::wstring::npos) ==
              (c.preference.kind != PreferenceOutcome::Kind::Set));
    }
}

TEST_CASE("A failure with a platform error names the error after its reason") {
    FailureReport report(FailureReport::Action::Theme);
    report.Add(L"C:\\refused.exe", ManifestFailure::Rejected, ERROR_ACCESS_DENIED);
    report.Add(L"C:\\used.exe", ManifestFailure::InUse);
    const std::wstring text = report.Text();
    CHECK(text.starts_with(L"These programs could not be themed:\r\n\r\nC:\\refused.exe - Windows refused the manifest "
                           L"written for it, so the program was left as it was (error 5: "));
    CHECK(text.find(L")\r\nC:\\used.exe - in use by another program\r\n") != std::wstring::npos);
}
