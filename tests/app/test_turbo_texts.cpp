#include <string>

#include "app/TurboTexts.h"
#include "support/doctest_wide.h"

TEST_CASE("Each mode has its pattern, its heading and its action caption") {
    CHECK(SearchPatternOf(SearchMode::Themed) == L"*.exe.manifest");
    CHECK(SearchPatternOf(SearchMode::Unthemed) == L"*.exe");
    CHECK(SearchHeadingOf(SearchMode::Themed) == L"Searching for Themed Files....\r\n\r\n");
    CHECK(SearchHeadingOf(SearchMode::Unthemed) == L"Searching for Unthemed Files....\r\n\r\n");
    CHECK(ApplyCaptionOf(SearchMode::Themed) == L"Remove Themes from Selected Apps");
    CHECK(ApplyCaptionOf(SearchMode::Unthemed) == L"Add Themes to Selected Apps");
}

TEST_CASE("A result line ends in its serial, written with at least five digits") {
    struct Case {
        const wchar_t* product;
        const wchar_t* description;
        const wchar_t* path;
        int64_t serial;
        const wchar_t* line;
    };
    const Case cases[] = {
        {L"Foo Suite", L"Foo Editor", L"C:\\Apps\\Foo\\foo.exe", 7, L"Foo Suite >> Foo Editor (C:\\Apps\\Foo\\foo.exe) [00007]"},
        {L"", L"", L"C:\\a.exe", 0, L" >>  (C:\\a.exe) [00000]"},
        {L"Tool [2]", L"x) [00001]", L"C:\\[3]\\t.exe", 3, L"Tool [2] >> x) [00001] (C:\\[3]\\t.exe) [00003]"},
        {L"Last", L"", L"C:\\z.exe", kMostResults - 1, L"Last >>  (C:\\z.exe) [65534]"},
        {L"More", L"", L"C:\\m.exe", 123456, L"More >>  (C:\\m.exe) [123456]"},
    };
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.line));
        CHECK(ResultLine(c.product, c.description, c.path, c.serial) == c.line);
    }
}

TEST_CASE("The folder label: heading, folder count, skipped folders and the result limit when there are any") {
    SearchCounters counters;
    counters.scannedDirectories = 12;
    const std::wstring heading = SearchHeadingOf(SearchMode::Unthemed);
    CHECK(DirectoryProgressText(heading, counters, false) ==
          L"Searching for Unthemed Files....\r\n\r\nScanned Directories = 12\r\n");
    counters.skippedDirectories = 3;
    CHECK(DirectoryProgressText(heading, counters, false) ==
          L"Searching for Unthemed Files....\r\n\r\nScanned Directories = 12\r\nSkipped Directories = 3\r\n");
    counters.skippedDirectories = 0;
    CHECK(DirectoryProgressText(heading, counters, true) ==
          L"Searching for Unthemed Files....\r\n\r\nScanned Directories = 12\r\nResult limit reached\r\n");
}

TEST_CASE("The file label: three counts with their equals signs in one column, then the file's line") {
    SearchCounters counters;
    counters.scannedFiles = 1234;
    counters.themedFiles = 34;
    counters.unthemedFiles = 1200;
    CHECK(FileProgressText(counters, L"P >> D (C:\\p.exe) [01199]") ==
          L"Scanned Files = 1234\r\n"
          L"         Themed Files   = 34\r\n"
          L"         Unthemed Files = 1200\r\n"
          L"\r\n"
          L"P >> D (C:\\p.exe) [01199]\r\n");
    // A file without a result leaves an empty last line.
    CHECK(FileProgressText(counters, L"") ==
          L"Scanned Files = 1234\r\n"
          L"         Themed Files   = 34\r\n"
          L"         Unthemed Files = 1200\r\n"
          L"\r\n"
          L"\r\n");
}
