#include "history/HistoryLines.h"
#include "support/doctest_wide.h"

TEST_CASE("Display lines of the history: value or executable path, then the position") {
    struct Case {
        const wchar_t* value;
        const wchar_t* manifestPath;
        size_t position;
        const wchar_t* line;
    };
    const Case cases[] = {
        {L"One >> First program", L"C:\\Apps\\One\\one.exe.manifest", 0, L"One >> First program [00000]"},
        {L" >> ", L"C:\\Apps\\Two\\two.exe.manifest", 1, L"C:\\Apps\\Two\\two.exe [00001]"},
        {L">>", L"C:\\a.exe.manifest", 10, L"C:\\a.exe [00010]"},
        {L"Prod >> ", L"C:\\a.exe.manifest", 7, L"Prod >>  [00007]"},  // value shown as read
        // A folder named like a manifest does not cut the path short.
        {L" >> ", L"C:\\x.manifest\\app.exe.manifest", 2, L"C:\\x.manifest\\app.exe [00002]"},
        {L"Big", L"C:\\b.exe.manifest", 123456, L"Big [123456]"},
    };
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.line));
        const std::wstring line = HistoryDisplayText(c.value, c.manifestPath, c.position);
        CHECK(line == c.line);
    }
}

TEST_CASE("Stored keys and values stay one line each, whatever the path and the version resource held") {
    CHECK(HistoryKeyFor(L"C:\\a=b\\app.exe.manifest") == L"C:\\a|b\\app.exe.manifest");
    CHECK(ManifestPathOfHistoryKey(L"C:\\a|b\\app.exe.manifest") == L"C:\\a=b\\app.exe.manifest");
    CHECK(HistoryKeyFor(L"C:\\\u03a6\\app.exe.manifest") == L"C:\\\u03a6\\app.exe.manifest");

    CHECK(HistoryValueFor(L"Prod", L"Desc") == L"Prod >> Desc");
    CHECK(HistoryValueFor(L"", L"") == L" >> ");
    CHECK(StoredHistoryValue(HistoryValueFor(L"Evil\r\n[Main]\r\nx", L"tab\there")) ==
          L"Evil  [Main]  x >> tab here");
    CHECK(StoredHistoryValue(std::wstring(L"nul\0in >> ", 10)) == L"nul in >> ");

    CHECK(ExecutablePathOfManifest(L"C:\\app.exe.manifest") == L"C:\\app.exe");
    CHECK(ExecutablePathOfManifest(L"C:\\app.exe.MANIFEST") == L"C:\\app.exe");
}

TEST_CASE("A value splits into the product and the description it was made of") {
    struct Case {
        const wchar_t* value;
        HistoryDetails details;
    };
    const Case cases[] = {
        {L"Prod >> Desc", {L"Prod", L"Desc"}},
        {L" >> ", {L"", L""}},
        {L">>", {L"", L""}},
        {L"Prod >> ", {L"Prod", L""}},
        {L" >> Desc", {L"", L"Desc"}},
        // Trimmed by an editor.
        {L">> Desc", {L"", L"Desc"}},
        {L"Prod >>", {L"Prod", L""}},
        // The first separator is the product's end: a description may hold another.
        {L" >> a >> b", {L"", L"a >> b"}},
        {L"Tool>>Pro >> Desc", {L"Tool>>Pro", L"Desc"}},
        {L"Written by hand", {L"Written by hand", L""}},
    };
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.value));
        CHECK(HistoryDetailsOf(c.value) == c.details);
        CHECK(HasNoDetails(c.value) == (c.details == HistoryDetails{}));
    }
    CHECK(HistoryDetailsOf(HistoryValueFor(L"Beta \"Viewer\"", L"Views <beta> files")) ==
          HistoryDetails{L"Beta \"Viewer\"", L"Views <beta> files"});
}
