#include "support/doctest_wide.h"

#include <string>

#include "platform/TextFunctions.h"

namespace {

struct Case {
    const wchar_t* delimiter;
    std::wstring text;
    std::wstring before;
    std::wstring after;
};

}  // namespace

TEST_CASE("TextBefore and TextAfter cut at the first occurrence, ignoring case, trimmed") {
    const std::wstring longPrefix(32767, L'x');
    const Case cases[] = {
        {L"=", L"key=value", L"key", L"value"},
        {L"=", L"a=b=c", L"a", L"b=c"},                       // first occurrence only
        {L"NAME = ", L"x name = \"[A]\"", L"x", L"\"[A]\""},  // letter case ignored
        {L"=", L"  key  =  value  ", L"key", L"value"},       // both results trimmed
        {L"=", L"\tkey\t=\tvalue\t", L"\tkey\t", L"\tvalue\t"},  // only blanks are trimmed
        {L"=", L"=value", L"", L"value"},
        {L"=", L"key=", L"key", L""},
        // Missing delimiter: nothing before; after starts at the delimiter's length.
        {L"]", L"no bracket here", L"", L"no bracket here"},
        {L"name = ", L"<assembly name=\"x\"/>", L"", L"bly name=\"x\"/>"},
        {L"name = ", L"short", L"", L""},
        {L"name = ", L"sixsix", L"", L""},
        {L"name = ", L"seven!7", L"", L"7"},
        {L"\r\n", L"line one\r\nline two", L"line one", L"line two"},
        {L"", L"text", L"", L"text"},
        {L"=", L"", L"", L""},
        // An occurrence beyond the 16-bit position range gives nothing before it.
        {L"=", longPrefix + L"=tail", L"", L"tail"},
        {L"=", longPrefix.substr(1) + L"=tail", longPrefix.substr(1), L"tail"},
    };
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.delimiter));
        CAPTURE(c.text.size());
        CHECK(TextBefore(c.delimiter, c.text) == c.before);
        CHECK(TextAfter(c.delimiter, c.text) == c.after);
    }
}

TEST_CASE("Letter case is ignored beyond ASCII") {
    CHECK(TextBefore(L"\u00c9T\u00c9", L"avant \u00e9t\u00e9 apr\u00e8s") == L"avant");
    CHECK(TextAfter(L"\u00c9T\u00c9", L"avant \u00e9t\u00e9 apr\u00e8s") == L"apr\u00e8s");
}
