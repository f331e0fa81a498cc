#include "support/doctest_wide.h"

#include <string>
#include <vector>

#include "platform/IniEditor.h"
#include "platform/ProfileSectionScanner.h"
#include "platform/profile_test_files.h"

using Names = std::vector<std::wstring>;
using xpv_test::TempFolder;

namespace {

// Headers of sections Main, Tweaks (blanks and a comment around it) and Two; a commented-out
// header, a line with text after its first "]" and a key whose value is bracketed are no headers.
const std::wstring kMixedHeaders =
    L"[Main]\r\n"
    L"  [Tweaks]  ;comment\r\n"
    L";[Hidden]\r\n"
    L"[a]b]\r\n"
    L"x=[y]\r\n"
    L"[Two]\r\n";

}  // namespace

TEST_CASE("StripProfileComment cuts at the first semicolon and trims blanks only") {
    struct Case {
        std::wstring line;
        std::wstring stripped;
    };
    const Case cases[] = {
        {L"  [Main] ;comment", L"[Main]"},
        {L";[Hidden]", L""},
        {L"\tabc ", L"\tabc"},
        {L"key=value ; trailing note", L"key=value"},
        {L"a;b;c", L"a"},
        {L"   ", L""},
        {L"", L""},
        {L"  [x]\t", L"[x]\t"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.line);
        CHECK(StripProfileComment(c.line) == c.stripped);
    }
}

TEST_CASE("Section names of a profile text follow the header rules") {
    struct Case {
        const char* what;
        std::wstring text;
        Names names;
    };
    const Case cases[] = {
        {"mixed headers, comments and near-headers", kMixedHeaders, {L"Main", L"Tweaks", L"Two"}},
        {"an empty header ends the list", L"[A]\r\n[]\r\n[B]\r\n", {L"A"}},
        {"no header at all", L"key=value\r\n; [Main]\r\n", {}},
        {"empty text", L"", {}},
        {"lines ended by a line feed alone", L"[A]\nk=1\n[B]\nj=2\n", {L"A", L"B"}},
        {"lines ended by a carriage return alone", L"[A]\rk=1\r[B]\r", {L"A", L"B"}},
        {"mixed line ends, last line unterminated", L"[A]\r\n[B]\n[C]\r[D]",
         {L"A", L"B", L"C", L"D"}},
        {"the name keeps its inner blanks", L"[ spaced name ]\r\n", {L" spaced name "}},
        {"a name with a semicolon loses its end", L"[x;y]\r\n", {}},
        {"a tab before the bracket is not trimmed", L"\t[A]\r\n[B]\r\n", {L"B"}},
        {"text after the closing bracket", L"[A] tail\r\n[B]\r\n", {L"B"}},
        {"a lone opening bracket", L"[\r\n[B]\r\n", {L"B"}},
        {"Unicode names", L"[\u0391\u03b8\u03ae\u03bd\u03b1]\r\n[\u6771\u4eac]\r\n",
         {L"\u0391\u03b8\u03ae\u03bd\u03b1", L"\u6771\u4eac"}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        CHECK(ListSectionNames(c.text) == c.names);
    }
}

TEST_CASE("ScanSectionNames ends every name and the list with NUL") {
    using namespace std::string_literals;
    CHECK(ScanSectionNames(L"[A]\r\n[B]\r\n") == L"A\0B\0\0"s);
    CHECK(ScanSectionNames(L"[A]\r\n[]\r\n[B]") == L"A\0\0B\0\0"s);
    CHECK(ScanSectionNames(L"no headers") == L"\0\0"s);
}

TEST_CASE("ListProfileSections reads the file in the encoding the profile functions use") {
    TempFolder folder;
    const std::wstring text = L"[Main]\r\n[\u0391\u03b8\u03ae\u03bd\u03b1]\r\n[\u6771\u4eac]\r\n";
    const Names unicodeNames = {L"Main", L"\u0391\u03b8\u03ae\u03bd\u03b1", L"\u6771\u4eac"};
    struct Case {
        const wchar_t* file;
        std::string bytes;
        Names names;
    };
    const Case cases[] = {
        {L"utf16le.db", profile_test::Utf16Le(text), unicodeNames},
        {L"utf16be.db", profile_test::Utf16WithBom(text, true), unicodeNames},
        {L"utf8.db", profile_test::Utf8WithBom(text), unicodeNames},
        {L"ansi.db", profile_test::Ansi(L"[Caf\u00e9]\r\n[Main]\r\n"), {L"Caf\u00e9", L"Main"}},
        {L"crlf.db", profile_test::Ansi(kMixedHeaders), {L"Main", L"Tweaks", L"Two"}},
        {L"lf-only.db", "[Main]\nkey=1\n[Tweaks]\nother=2\n", {L"Main", L"Tweaks"}},
        {L"empty-header.db", "[A]\r\n[]\r\n[B]\r\n", {L"A"}},
        {L"empty.db", "", {}},
        {L"bom-only.db", "\xFF\xFE", {}},
    };
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.file));
        const std::wstring file = folder / c.file;
        profile_test::WriteTestFile(file, c.bytes);
        const auto names = ListProfileSections(file);
        REQUIRE(names.has_value());
        CHECK(*names == c.names);
    }
}

TEST_CASE("ListProfileSections reports a file it cannot read") {
    TempFolder folder;
    std::wstring file = folder / L"missing.db";
    CHECK_FALSE(ListProfileSections(file).has_value());
    file = folder / L"no-such-folder\\settings.db";
    CHECK_FALSE(ListProfileSections(file).has_value());
    file = folder / L"bad-utf8.db";
    profile_test::WriteTestFile(file, "\xEF\xBB\xBF[Main]\r\n[\xC3]\r\n");
    CHECK_FALSE(ListProfileSections(file).has_value());
}

TEST_CASE("Every listed section of an LF-only file is readable by the profile functions") {
    TempFolder folder;
    const std::wstring file = folder / L"lf.db";
    profile_test::WriteTestFile(file, "[One]\na=1\n[Two]\nb=2\n");
    const auto names = ListProfileSections(file);
    REQUIRE(names.has_value());
    REQUIRE(*names == Names{L"One", L"Two"});
    const std::wstring keys[] = {L"a", L"b"};
    for (size_t i = 0; i < names->size(); ++i) {
        CHECK(ReadSectionEntries({file, (*names)[i]}) ==
              std::vector<ProfileEntry>{{keys[i], std::to_wstring(i + 1)}});
    }
}
