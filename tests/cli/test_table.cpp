// The CSV and JSON forms of a listing: whatever a path or a version resource holds, a tool reads
// back the same fields.
#include <string>
#include <vector>

#include "cli/Table.h"
#include "support/doctest_wide.h"

TEST_CASE("CSV quotes a field only where it must, JSON escapes what it cannot carry") {
    struct Case {
        std::wstring field;
        std::wstring csv;
        std::wstring json;
    };
    const Case cases[] = {
        {L"C:\\Apps\\a b.exe", L"C:\\Apps\\a b.exe", L"\"C:\\\\Apps\\\\a b.exe\""},
        {L"Tools, Inc.", L"\"Tools, Inc.\"", L"\"Tools, Inc.\""},
        {L"The \"best\"", L"\"The \"\"best\"\"\"", L"\"The \\\"best\\\"\""},
        {L"two\r\nlines\ttab", L"\"two\r\nlines\ttab\"", L"\"two\\r\\nlines\\ttab\""},
        {L"bell\x07", L"bell\x07", L"\"bell\\u0007\""},
        {L"\u0395\u03bb\U0001F600", L"\u0395\u03bb\U0001F600", L"\"\u0395\u03bb\U0001F600\""},
        // A file name may hold a surrogate without its pair.
        {L"a\xD800z", L"a\xD800z", L"\"a\\ud800z\""},
        {L"", L"", L"\"\""},
    };
    for (const Case& c : cases) {
        CAPTURE(xpv_test::ToUtf8(c.json));
        const Table table{{L"name"}, {{c.field}}};
        CHECK(CsvText(table) == L"name\r\n" + c.csv + L"\r\n");
        CHECK(JsonText(table) == L"[\r\n  {\"name\": " + c.json + L"}\r\n]\r\n");
    }
}
