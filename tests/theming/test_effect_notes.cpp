#include <string>

#include "theming/FailureReport.h"
#include "support/doctest_wide.h"

TEST_CASE("The notes of an action end its report, each naming the first ten programs, then how many more") {
    FailureReport report(FailureReport::Action::Theme);
    for (int i = 0; i < 12; ++i) report.Notes().ThemedByOwnManifest(L"C:\\own" + std::to_wstring(i) + L".exe");
    report.Notes().LoaderMayRemember(L"C:\\kept.exe");
    CHECK_FALSE(report.Empty());
    std::wstring own = L"These programs were themed as asked, but their own manifest already gives them the Windows XP "
                       L"look:\r\n\r\n";
    for (int i = 0; i < 10; ++i) own += L"C:\\own" + std::to_wstring(i) + L".exe\r\n";
    own += L"and 2 more\r\n";
    const std::wstring restart =
        L"Windows could not be told that these programs changed, so the change shows after Windows restarts:\r\n\r\n"
        L"C:\\kept.exe\r\n";
    CHECK(report.Text() == own + L"\r\n" + restart);

    // After the failures and the history, with an empty line between.
    report.Add(L"C:\\failed.exe", ManifestFailure::InUse);
    report.HistoryNotRecorded();
    const std::wstring text = report.Text();
    CHECK(text.find(L"Everything else was done.\r\n\r\nThe history file could not record") != std::wstring::npos);
    CHECK(text.ends_with(L"Their manifests were written.\r\n\r\n" + own + L"\r\n" + restart));
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
