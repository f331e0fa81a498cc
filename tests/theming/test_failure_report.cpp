#include <string>
#include <vector>

#include "manifest/ManifestFailure.h"
#include "theming/FailureReport.h"
#include "support/doctest_wide.h"

TEST_CASE("A failure report names the first ten programs with their reasons, then how many more") {
    FailureReport report(FailureReport::Action::Theme);
    CHECK(report.Empty());
    CHECK(report.Text().empty());
    for (int i = 0; i < 12; ++i) {
        report.Add(L"C:\\p" + std::to_wstring(i) + L".exe", i == 0 ? ManifestFailure::AccessDenied : ManifestFailure::InUse);
    }
    const std::wstring text = report.Text();
    CHECK(text.starts_with(L"These programs could not be themed:\r\n\r\nC:\\p0.exe - access denied\r\n"
                           L"C:\\p1.exe - in use by another program\r\n"));
    CHECK(text.find(L"C:\\p9.exe") != std::wstring::npos);
    CHECK(text.find(L"C:\\p10.exe") == std::wstring::npos);
    CHECK(text.find(L"C:\\p9.exe - in use by another program\r\nand 2 more\r\n\r\nEverything else was done.") !=
          std::wstring::npos);
}

TEST_CASE("A failure report tells once, after the programs, that running as administrator allows access denied") {
    const std::wstring advice = L"Access was denied because this account may not change files in those folders "
                                L"(Program Files, for one). Running XP Vestrim as administrator allows it.";
    std::vector<ManifestFailure> deniedAfterTen(10, ManifestFailure::InUse);
    deniedAfterTen.push_back(ManifestFailure::AccessDenied);
    const struct {
        const char* name;
        FailureReport::Action action;
        std::vector<ManifestFailure> failures;
        bool historyNotRecorded;
        bool advised;
    } cases[] = {
        {"one program denied", FailureReport::Action::Theme, {ManifestFailure::AccessDenied}, false, true},
        {"a removal denied among others", FailureReport::Action::Untheme,
         {ManifestFailure::InUse, ManifestFailure::AccessDenied, ManifestFailure::AccessDenied}, false, true},
        {"denied beyond the ten named", FailureReport::Action::Theme, deniedAfterTen, false, true},
        {"other failures only", FailureReport::Action::Untheme,
         {ManifestFailure::InUse, ManifestFailure::Foreign, ManifestFailure::InTheWay, ManifestFailure::Other}, false,
         false},
        {"denied, and the history could not record", FailureReport::Action::Theme, {ManifestFailure::AccessDenied},
         true, true},
        {"only the history could not record", FailureReport::Action::Theme, {}, true, false},
    };
    for (const auto& c : cases) {
        CAPTURE(c.name);
        FailureReport report(c.action);
        int i = 0;
        for (const ManifestFailure failure : c.failures) report.Add(L"C:\\p" + std::to_wstring(i++) + L".exe", failure);
        if (c.historyNotRecorded) report.HistoryNotRecorded();
        const std::wstring text = report.Text();
        const size_t at = text.find(advice);
        if (!c.advised) {
            CHECK(at == std::wstring::npos);
            continue;
        }
        REQUIRE(at != std::wstring::npos);
        CHECK(text.find(advice, at + 1) == std::wstring::npos);
        CHECK(text.substr(0, at).ends_with(L"\r\nEverything else was done.\r\n\r\n"));
        if (c.historyNotRecorded) {
            CHECK(text.substr(at + advice.size()).starts_with(L"\r\n\r\nThe history file could not record"));
        } else {
            CHECK(at + advice.size() == text.size());
        }
    }
}

TEST_CASE("A failure report tells a history that could not record, alone or after the programs") {
    FailureReport alone(FailureReport::Action::Theme);
    alone.HistoryNotRecorded();
    CHECK_FALSE(alone.Empty());
    CHECK(alone.Text().starts_with(L"The history file could not record"));

    FailureReport both(FailureReport::Action::Untheme);
    both.Add(L"C:\\a.exe", ManifestFailure::Foreign);
    both.HistoryNotRecorded();
    const std::wstring text = both.Text();
    CHECK(text.starts_with(L"The theme of this program could not be removed:\r\n\r\nC:\\a.exe - not written by "
                           L"XP Vestrim, and no Recycle Bin here could keep it\r\n"));
    CHECK(text.find(L"Everything else was done.\r\n\r\nThe history file could not record") != std::wstring::npos);
}

TEST_CASE("A failure report tells a history that could not be read or kept up to date, and what it needs") {
    const struct {
        HistoryStore::Trouble trouble;
        const wchar_t* start;
    } cases[] = {
        {HistoryStore::Trouble::Unreadable, L"The history file could not be read, so History lists nothing"},
        {HistoryStore::Trouble::NotUpdated, L"The history file could not be updated, so it still names programs"},
    };
    for (const auto& c : cases) {
        FailureReport report(FailureReport::Action::Untheme);
        report.HistoryTrouble(c.trouble);
        CHECK_FALSE(report.Empty());
        const std::wstring text = report.Text();
        CHECK(text.starts_with(c.start));
        CHECK(text.find(L"not a link, that is not read-only, on a disk with free space.") != std::wstring::npos);
    }
    FailureReport none(FailureReport::Action::Untheme);
    none.HistoryTrouble(HistoryStore::Trouble::None);
    CHECK(none.Empty());
    CHECK(none.Text().empty());
}

TEST_CASE("Platform errors map to the reasons a user is told") {
    const struct {
        DWORD error;
        ManifestFailure failure;
    } cases[] = {
        {ERROR_SUCCESS, ManifestFailure::None},
        {ERROR_ACCESS_DENIED, ManifestFailure::AccessDenied},
        {ERROR_WRITE_PROTECT, ManifestFailure::AccessDenied},
        {ERROR_SHARING_VIOLATION, ManifestFailure::InUse},
        {ERROR_LOCK_VIOLATION, ManifestFailure::InUse},
        {ERROR_FILE_NOT_FOUND, ManifestFailure::Missing},
        {ERROR_PATH_NOT_FOUND, ManifestFailure::Missing},
        {ERROR_DIRECTORY, ManifestFailure::InTheWay},
        {ERROR_DISK_FULL, ManifestFailure::Other},
    };
    for (const auto& c : cases) {
        CAPTURE(c.error);
        CHECK(FailureFromError(c.error) == c.failure);
    }
}
