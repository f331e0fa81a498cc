#include "support/doctest_wide.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/IniEditor.h"
#include "platform/UniqueHandle.h"
#include "platform/profile_test_files.h"

using Rows = std::vector<ProfileEntry>;
using Names = std::vector<std::wstring>;
using xpv_test::TempFolder;
using namespace std::string_literals;

namespace {

const std::wstring kGreek = L"\u0391\u03b8\u03ae\u03bd\u03b1";
const std::wstring kCjk = L"\u6771\u4eac";

// The file and section the cases below work on.
ProfileTarget target;

void Target(const std::wstring& file, const std::wstring& section) { target = {file, section}; }

// Splits a NUL-separated list as the profile functions return it; empty items are dropped.
Names SplitNulList(const std::wstring& list) {
    Names items;
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find(L'\0', start);
        if (end == std::wstring::npos) {
            end = list.size();
        }
        if (end > start) {
            items.push_back(list.substr(start, end - start));
        }
        start = end + 1;
    }
    return items;
}

// A NUL-list read of the platform (key or section names), with a buffer grown until it fits.
Names PlatformList(const wchar_t* section) {
    std::wstring list(4096, L'\0');
    for (;;) {
        const DWORD length =
            GetPrivateProfileStringW(section, nullptr, L"", list.data(),
                                     static_cast<DWORD>(list.size()), target.file.c_str());
        if (length + 2 < list.size()) {
            list.resize(length);
            return SplitNulList(list);
        }
        list.resize(list.size() * 2);
    }
}

// The reference read: the keys as the platform lists them, then one platform call per key.
Rows ReadPerKey() {
    Rows rows;
    for (const std::wstring& key : PlatformList(target.section.c_str())) {
        wchar_t value[kProfileValueLimit + 1];
        const DWORD length = GetPrivateProfileStringW(target.section.c_str(), key.c_str(), L"",
                                                      value, kProfileValueLimit + 1,
                                                      target.file.c_str());
        rows.push_back({key, std::wstring(value, length)});
    }
    return rows;
}

Names SectionsOnDisk() { return PlatformList(nullptr); }

bool IsUnicodeFile(const std::wstring& path) {
    return xpv_test::ReadBytes(path).starts_with("\xFF\xFE");
}

// Quotes, blanks, comments, lines without "=" or without a key, a key repeated in another
// letter case, a key whose first line has no "=", long values around the read limit, and a
// second section of the same name. All ASCII, so it is the same text in every encoding.
std::wstring TrickyProfile() {
    return L"[Main]\r\n"
           L"  a = \"quoted\"  \r\n"
           L"b='single'\r\n"
           L"c=\"unbalanced\r\n"
           L"d=\"\r\n"
           L"e=\"\"\r\n"
           L"noequals\r\n"
           L";comment=x\r\n"
           L"=no key\r\n"
           L"A=repeats a\r\n"
           L"f=x=y\r\n"
           L"g=\t tabbed \t\r\n"
           L"h\r\n"
           L"h=hidden by the line above\r\n"
           L"  ;indented comment=y\r\n"
           L"long=" + std::wstring(300, L'l') + L"\r\n"
           L"q253=\"" + std::wstring(253, L'q') + L"\"\r\n"
           L"q254=\"" + std::wstring(254, L'q') + L"\"\r\n"
           L"q255=\"" + std::wstring(255, L'q') + L"\"\r\n"
           L"[main]\r\n"
           L"z=second section of the same name\r\n"
           L"a=also second\r\n"
           L"[Other]\r\n"
           L"o=1\r\n";
}

const Rows kTrickyRows = {
    {L"a", L"quoted"},
    {L"b", L"single"},
    {L"c", L"\"unbalanced"},
    {L"d", L"\""},
    {L"e", L""},
    {L"A", L"quoted"},
    {L"f", L"x=y"},
    {L"g", L"tabbed"},
    {L"h", L""},
    {L"long", std::wstring(254, L'l')},
    {L"q253", std::wstring(253, L'q')},
    {L"q254", std::wstring(253, L'q')},
    {L"q255", std::wstring(254, L'q')},
};

// Unicode keys and values, and keys that differ only in the letter case of non-ASCII letters.
std::wstring UnicodeProfile() {
    return L"[Main]\r\n" + kGreek + L"=" + kCjk + L"\r\n"
           L"\u0391=capital alpha\r\n"
           L"\u03b1=small alpha\r\n"
           L"\u00c9=capital e acute\r\n"
           L"\u00e9=small e acute\r\n"
           L"cjk=\"" + kCjk + L"\"\r\n";
}

std::string NumberedSection(size_t rowCount) {
    std::string text = "[Before]\r\nb=1\r\n[Main]\r\n";
    for (size_t i = 0; i < rowCount; ++i) {
        text += "key" + std::to_string(i) + "=value " + std::to_string(i) + "\r\n";
    }
    return text + "[After]\r\nz=1\r\n";
}

// True when every line stands in the text, in this order.
bool HoldsInOrder(const std::wstring& text, const Names& lines) {
    size_t from = 0;
    for (const std::wstring& line : lines) {
        from = text.find(line, from);
        if (from == std::wstring::npos) {
            return false;
        }
        from += line.size();
    }
    return true;
}

}  // namespace

TEST_CASE("ReadProfileValue gives the value, cut to 254 characters, or the default") {
    TempFolder folder;
    const std::wstring file = folder / L"values.db";
    profile_test::WriteTestFile(file, "[Main]\r\nkey=value\r\nlong=" + std::string(300, 'x') +
                                       "\r\nempty=\r\n");
    struct Case {
        std::wstring file;
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* fallback;
        std::wstring value;
    };
    const Case cases[] = {
        {file, L"Main", L"key", L"False", L"value"},
        {file, L"MAIN", L"KEY", L"", L"value"},
        {file, L"Main", L"missing", L"False", L"False"},
        {file, L"Main", L"missing", L"", L""},
        {file, L"Main", L"long", L"", std::wstring(254, L'x')},
        {file, L"Main", L"empty", L"False", L""},
        {file, L"Other", L"key", L"False", L"False"},
        {folder / L"missing.db", L"Main", L"key", L"False", L"False"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.section);
        CAPTURE(c.key);
        Target(c.file, c.section);
        CHECK(ReadProfileValue(target, c.key, c.fallback) == c.value);
    }
}

TEST_CASE("WriteProfileValue creates the file, replaces values in place and appends new keys") {
    TempFolder folder;
    Target(folder / L"history.db", L"Main");
    CHECK(WriteProfileValue(target, L"C:\\Apps\\One\\one.exe.manifest", L"One >> First program"));
    CHECK(WriteProfileValue(target, L"C:\\Apps\\Two\\two.exe.manifest", L" >> "));
    CHECK(WriteProfileValue(target, L"C:\\Apps\\One\\one.exe.manifest", L"One >> again"));
    CHECK(ReadSectionEntries(target) == Rows{{L"C:\\Apps\\One\\one.exe.manifest", L"One >> again"},
                                       {L"C:\\Apps\\Two\\two.exe.manifest", L">>"}});
    CHECK(SectionsOnDisk() == Names{L"Main"});

    CHECK(RemoveSectionKeys(target, {L"C:\\Apps\\One\\one.exe.manifest", L"not there"}));
    CHECK(ReadSectionEntries(target) == Rows{{L"C:\\Apps\\Two\\two.exe.manifest", L">>"}});
    const auto text = ReadProfileText(target.file);
    REQUIRE(text.has_value());
    CHECK(text->find(L"one.exe") == std::wstring::npos);
}

TEST_CASE("Missing files and folders") {
    TempFolder folder;
    SUBCASE("removing keys leaves a missing file missing: it holds none of them") {
        Target(folder / L"missing.db", L"Main");
        CHECK(RemoveSectionKeys(target, {L"key"}));
        CHECK_FALSE(xpv_test::FileExists(target.file));
    }
    SUBCASE("a write into a missing folder fails and creates nothing") {
        Target(folder / L"no-such-folder\\history.db", L"Main");
        CHECK_FALSE(WriteProfileValue(target, L"key", L"value"));
        CHECK_FALSE(WriteSectionEntries(target, {{L"key", L"value"}}));
        CHECK(GetFileAttributesW((folder / L"no-such-folder").c_str()) == INVALID_FILE_ATTRIBUTES);
    }
    SUBCASE("ReadProfileText of a missing file") {
        Target(folder / L"missing.db", L"Main");
        CHECK_FALSE(ReadProfileText(target.file).has_value());
    }
}

TEST_CASE("ReadSectionEntries gives the section's keys in file order with their values") {
    TempFolder folder;
    const std::wstring file = folder / L"abc.db";
    profile_test::WriteTestFile(file, "[Main]\r\na=1\r\nb=two\r\nc=\r\n[Empty]\r\n[Comments]\r\n"
                                   ";x=1\r\nno equals\r\n=no key\r\n");
    struct Case {
        std::wstring file;
        const wchar_t* section;
        Rows rows;
    };
    const Case cases[] = {
        {file, L"Main", {{L"a", L"1"}, {L"b", L"two"}, {L"c", L""}}},
        {file, L"main", {{L"a", L"1"}, {L"b", L"two"}, {L"c", L""}}},
        {file, L"Empty", {}},
        {file, L"Comments", {}},
        {file, L"Missing", {}},
        {folder / L"missing.db", L"Main", {}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.section);
        Target(c.file, c.section);
        CHECK(ReadSectionEntries(target) == c.rows);
    }
}

TEST_CASE("The one-pass read gives the rows and values of the per-key read") {
    TempFolder folder;
    struct Case {
        const wchar_t* file;
        std::string bytes;
        const wchar_t* section;
    };
    const Case cases[] = {
        {L"tricky-ansi.db", profile_test::Ansi(TrickyProfile()), L"Main"},
        {L"tricky-utf16.db", profile_test::Utf16Le(TrickyProfile()), L"Main"},
        {L"tricky-other-case.db", profile_test::Ansi(TrickyProfile()), L"MAIN"},
        {L"unicode-utf16.db", profile_test::Utf16Le(UnicodeProfile()), L"Main"},
        {L"unicode-utf8.db", profile_test::Utf8WithBom(UnicodeProfile()), L"Main"},
        {L"accents-ansi.db", profile_test::Ansi(L"[Main]\r\n\u00c9=1\r\n\u00e9=2\r\nk=3\r\n"),
         L"Main"},
        {L"lf-only.db", "[Main]\nk=1\nj=\"2\"\nk=3\n", L"Main"},
        {L"cr-only.db", "[Main]\rk=1\rj='2'\r", L"Main"},
        {L"lone-cr.db", "[Main]\r\nk=a\rb=c\r\nj=2\r\n", L"Main"},
    };
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.file));
        Target(folder / c.file, c.section);
        profile_test::WriteTestFile(target.file, c.bytes);
        const Rows rows = ReadSectionEntries(target);
        CHECK_FALSE(rows.empty());
        CHECK(rows == ReadPerKey());
    }
    // What those rules are, spelled out for the tricky file.
    Target(folder / L"tricky-ansi.db", L"Main");
    CHECK(ReadSectionEntries(target) == kTrickyRows);
}

TEST_CASE("A section of any size is read completely") {
    TempFolder folder;
    SUBCASE("far beyond 4096 characters of keys, same as the per-key read") {
        Target(folder / L"wide.db", L"Main");
        profile_test::WriteTestFile(target.file, NumberedSection(3000));
        const Rows rows = ReadSectionEntries(target);
        CHECK(rows.size() == 3000);
        CHECK(rows == ReadPerKey());
    }
    SUBCASE("more rows than a 16-bit count holds") {
        Target(folder / L"tall.db", L"Main");
        profile_test::WriteTestFile(target.file, NumberedSection(40000));
        const Rows rows = ReadSectionEntries(target);
        REQUIRE(rows.size() == 40000);
        CHECK(rows[32767] == ProfileEntry{L"key32767", L"value 32767"});
        CHECK(rows.back() == ProfileEntry{L"key39999", L"value 39999"});
    }
}

TEST_CASE("A new file is created as UTF-16LE and keeps texts outside the ANSI code page") {
    TempFolder folder;
    const std::wstring unicodeFolder = folder / L"\u0395\u03bb\u03bb\u03ac\u03b4\u03b1";
    REQUIRE(CreateDirectoryW(unicodeFolder.c_str(), nullptr));
    struct Case {
        std::wstring file;
        std::wstring section;
        std::wstring key;
        std::wstring value;
    };
    const Case cases[] = {
        {folder / L"greek-key.db", L"Main", L"C:\\" + kGreek + L"\\app.exe.manifest",
         kCjk + L" >> " + kGreek},
        {folder / L"greek-section.db", kGreek, L"key", L"value"},
        {folder / L"plain.db", L"Main", L"C:\\app.exe.manifest", L"App >> Tool"},
        {unicodeFolder + L"\\history.db", L"Main", kCjk, kGreek},
    };
    for (const Case& c : cases) {
        CAPTURE(c.file);
        Target(c.file, c.section);
        REQUIRE(WriteProfileValue(target, c.key, c.value));
        CHECK(IsUnicodeFile(c.file));
        CHECK(ReadProfileValue(target, c.key, L"") == c.value);
        CHECK(ReadSectionEntries(target) == Rows{{c.key, c.value}});
        CHECK(SectionsOnDisk() == Names{c.section});
    }
}

TEST_CASE("An ANSI file stays ANSI until a text needs Unicode, then it is converted") {
    TempFolder folder;
    const std::wstring original =
        L"; written by hand\r\n[Main]\r\nold=caf\u00e9\r\n[Other]\r\nx=1\r\n";
    struct Case {
        const wchar_t* what;
        std::wstring section;
        std::wstring key;
        std::wstring value;
        bool converts;
    };
    const Case cases[] = {
        {L"ASCII", L"Main", L"plain", L"ascii", false},
        {L"code page letters", L"Main", L"\u00e9t\u00e9", L"na\u00efve", false},
        {L"empty value", L"Main", L"empty", L"", false},
        {L"Greek key", L"Main", L"C:\\" + kGreek + L".exe.manifest", L"v", true},
        {L"CJK value", L"Main", L"key", kCjk, true},
        {L"Greek section", kGreek, L"key", L"value", true},
        {L"letter with only a best-fit form", L"Main", L"key", L"\u0101", true},
    };
    int number = 0;
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.what));
        Target(folder / (L"ansi" + std::to_wstring(number++) + L".db"), c.section);
        profile_test::WriteTestFile(target.file, profile_test::Ansi(original));
        REQUIRE(WriteProfileValue(target, c.key, c.value));
        CHECK(IsUnicodeFile(target.file) == c.converts);
        CHECK(ReadProfileValue(target, c.key, L"") == c.value);
        // Everything that was there is still there, in its place.
        const auto text = ReadProfileText(target.file);
        REQUIRE(text.has_value());
        CHECK(HoldsInOrder(*text, {L"; written by hand", L"[Main]", L"old=caf\u00e9", L"[Other]",
                                   L"x=1"}));
        target.section = L"Main";
        CHECK(ReadProfileValue(target, L"old", L"") == L"caf\u00e9");
    }
}

TEST_CASE("Converting an ANSI file keeps its attributes and leaves no temporary file behind") {
    TempFolder folder;
    Target(folder / L"hidden.db", L"Main");
    profile_test::WriteTestFile(target.file, "[Main]\r\nold=1\r\n");
    REQUIRE(SetFileAttributesW(target.file.c_str(), FILE_ATTRIBUTE_HIDDEN));
    REQUIRE(WriteProfileValue(target, kGreek, kCjk));
    CHECK(IsUnicodeFile(target.file));
    CHECK((GetFileAttributesW(target.file.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0);
    CHECK(ReadSectionEntries(target) == Rows{{L"old", L"1"}, {kGreek, kCjk}});
    CHECK_FALSE(profile_test::AnyFileMatches(folder / L"*.tmp"));
}

TEST_CASE("A read-only ANSI file that would need converting is left as it was") {
    TempFolder folder;
    Target(folder / L"read-only.db", L"Main");
    const std::string original = "[Main]\r\nold=1\r\n";
    profile_test::WriteTestFile(target.file, original);
    REQUIRE(SetFileAttributesW(target.file.c_str(), FILE_ATTRIBUTE_READONLY));
    CHECK_FALSE(WriteProfileValue(target, kGreek, kCjk));
    CHECK_FALSE(WriteSectionEntries(target, {{kGreek, kCjk}}));
    CHECK(xpv_test::ReadBytes(target.file) == original);
    CHECK_FALSE(profile_test::AnyFileMatches(folder / L"*.tmp"));
}

TEST_CASE("Files with a UTF-8 or UTF-16BE byte-order mark keep their encoding") {
    TempFolder folder;
    struct Case {
        const wchar_t* file;
        std::string bytes;
        std::string bom;
    };
    const Case cases[] = {
        {L"utf8.db", profile_test::Utf8WithBom(L"[Main]\r\nold=1\r\n"), "\xEF\xBB\xBF"},
        {L"utf16be.db", profile_test::Utf16WithBom(L"[Main]\r\nold=1\r\n", true), "\xFE\xFF"},
    };
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.file));
        Target(folder / c.file, L"Main");
        profile_test::WriteTestFile(target.file, c.bytes);
        REQUIRE(WriteProfileValue(target, kGreek, kCjk));
        CHECK(xpv_test::ReadBytes(target.file).starts_with(c.bom));
        CHECK(ReadSectionEntries(target) == Rows{{L"old", L"1"}, {kGreek, kCjk}});
    }
}

TEST_CASE("WriteSectionEntries gives back exactly the rows it wrote") {
    TempFolder folder;
    const Rows rows = {
        {L"plain", L"value"},
        {L"equals", L"a=b=c"},
        {L"padded", L"  two blanks each side  "},
        {L"tabbed", L"\tx\t"},
        {L"quoted", L"\"in quotes\""},
        {L"single", L"'x'"},
        {L"lone quote", L"\""},
        {L"half", L"\"half"},
        {L"empty", L""},
        {L"Mixed Case Key", L"v"},
        {L"C:\\" + kGreek + L"\\app.exe.manifest", kCjk + L" >> " + kGreek},
        {L"long", std::wstring(254, L'x')},
        {L"long padded", L" " + std::wstring(251, L'x') + L" "},
    };
    struct Case {
        const wchar_t* file;
        std::string bytes;  // empty: no file yet
    };
    const Case cases[] = {
        {L"new.db", ""},
        {L"ansi.db", "[Before]\r\nb=1\r\n[Main]\r\nstale=1\r\n[After]\r\na=1\r\n"},
        {L"utf16.db", profile_test::Utf16Le(L"[Main]\r\nstale=1\r\n[After]\r\na=1\r\n")},
    };
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.file));
        Target(folder / c.file, L"Main");
        if (!c.bytes.empty()) {
            profile_test::WriteTestFile(target.file, c.bytes);
        }
        REQUIRE(WriteSectionEntries(target, rows));
        CHECK(IsUnicodeFile(target.file));
        CHECK(ReadSectionEntries(target) == rows);
        CHECK(ReadPerKey() == rows);
        target.section = L"After";
        CHECK(ReadSectionEntries(target) == (c.bytes.empty() ? Rows{} : Rows{{L"a", L"1"}}));
    }
}

TEST_CASE("Dropping stale keys rewrites the section and leaves the rest of the file alone") {
    TempFolder folder;
    Target(folder / L"stale.db", L"Main");
    profile_test::WriteTestFile(target.file, NumberedSection(200));
    const Rows all = ReadSectionEntries(target);
    REQUIRE(all.size() == 200);

    Rows kept;
    for (size_t i = 1; i < all.size(); i += 2) {
        kept.push_back(all[i]);
    }
    REQUIRE(WriteSectionEntries(target, kept));
    CHECK(ReadSectionEntries(target) == kept);
    CHECK_FALSE(IsUnicodeFile(target.file));
    CHECK(SectionsOnDisk() == Names{L"Before", L"Main", L"After"});
    target.section = L"Before";
    CHECK(ReadSectionEntries(target) == Rows{{L"b", L"1"}});
    target.section = L"After";
    CHECK(ReadSectionEntries(target) == Rows{{L"z", L"1"}});

    target.section = L"Main";
    REQUIRE(WriteSectionEntries(target, {}));
    CHECK(ReadSectionEntries(target).empty());
    CHECK(SectionsOnDisk() == Names{L"Before", L"Main", L"After"});
}

TEST_CASE("WriteSectionEntries and WriteProfileValue refuse rows the format cannot hold and change nothing") {
    TempFolder folder;
    const std::string original = "[Main]\r\nold=1\r\n";
    const ProfileEntry badRows[] = {
        {L"", L"no key"},
        {L"a=b", L"key with equals"},
        {L";comment", L"v"},
        {L"[section]", L"v"},
        {L" leading blank", L"v"},
        {L"trailing blank ", L"v"},
        {L"\ttab", L"v"},
        {L"line\nbreak", L"v"},
        {L"key", L"line\r\nbreak"},
        {L"key", L"carriage\rreturn"},
        {L"key", L"nul\0inside"s},
    };
    int number = 0;
    for (const ProfileEntry& bad : badRows) {
        CAPTURE(bad.key);
        CAPTURE(bad.value);
        Target(folder / (L"refused" + std::to_wstring(number++) + L".db"), L"Main");
        profile_test::WriteTestFile(target.file, original);
        CHECK_FALSE(WriteSectionEntries(target, {{L"good", L"row"}, bad}));
        CHECK_FALSE(WriteProfileValue(target, bad.key, bad.value));
        CHECK(xpv_test::ReadBytes(target.file) == original);
    }
    Target(folder / L"never-created.db", L"Main");
    CHECK_FALSE(WriteSectionEntries(target, {{L"a=b", L"v"}}));
    CHECK_FALSE(xpv_test::FileExists(target.file));
}

TEST_CASE("A large section is written in one rewrite and read back whole") {
    TempFolder folder;
    Target(folder / L"large.db", L"Main");
    Rows rows;
    for (int i = 0; i < 40000; ++i) {
        rows.push_back({L"C:\\Apps\\" + kGreek + std::to_wstring(i) + L"\\app.exe.manifest",
                        L"Product " + std::to_wstring(i) + L" >> " + kCjk});
    }
    REQUIRE(WriteSectionEntries(target, rows));
    CHECK(ReadSectionEntries(target) == rows);
}

TEST_CASE("RemoveSectionKeys drops only those keys' lines and keeps every other byte") {
    TempFolder folder;
    // Comments, blank lines, a value far beyond the per-key read limit, odd spacing, a key in
    // another letter case, another section holding the same key, and the section's name again.
    const std::wstring before = L"; kept as it is\r\n\r\n[Main]\r\n";
    const std::wstring dropA = L"C:\\a.exe.manifest=A >> gone\r\n";
    const std::wstring keep1 = L"  C:\\long.exe.manifest =  " + std::wstring(300, L'v') + L"  \r\n";
    const std::wstring dropB = L"c:\\B.EXE.MANIFEST=B\r\n";
    const std::wstring keep2 = L"C:\\" + kGreek + L".exe.manifest=" + kCjk + L"\r\n";
    const std::wstring after = L"[Other]\r\nC:\\a.exe.manifest=other section\r\n[main]\r\nC:\\a.exe.manifest=second\n";
    const std::wstring whole = before + dropA + keep1 + dropB + keep2 + after;
    const std::wstring kept = before + keep1 + keep2 + after;
    const std::vector<std::wstring> keys = {L"C:\\a.exe.manifest", L"C:\\b.exe.manifest", L"C:\\never.exe.manifest"};

    struct Case {
        const wchar_t* file;
        std::string (*encode)(std::wstring_view);
    };
    const Case cases[] = {
        {L"utf16.db", profile_test::Utf16Le},
        {L"utf8.db", profile_test::Utf8WithBom},
        {L"ansi.db", [](std::wstring_view text) { return profile_test::Ansi(text); }},
        {L"utf16be.db", [](std::wstring_view text) { return profile_test::Utf16WithBom(text, true); }},
    };
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.file));
        // The ANSI case holds only what its code page can.
        const bool ansi = std::wstring_view(c.file) == L"ansi.db";
        const auto adapt = [&](std::wstring text) {
            if (!ansi) return text;
            for (const std::wstring& foreign : {kGreek, kCjk}) {
                for (size_t at; (at = text.find(foreign)) != std::wstring::npos;) text.replace(at, foreign.size(), L"x");
            }
            return text;
        };
        Target(folder / c.file, L"MAIN");
        profile_test::WriteTestFile(target.file, c.encode(adapt(whole)));
        REQUIRE(RemoveSectionKeys(target, keys));
        CHECK(xpv_test::ReadBytes(target.file) == c.encode(adapt(kept)));
    }
}

TEST_CASE("RemoveSectionKeys leaves a file alone when no key matches or it may not be replaced") {
    TempFolder folder;
    Target(folder / L"history.db", L"Main");
    const std::string bytes = profile_test::Utf16Le(L"[Main]\r\nC:\\a.exe.manifest=A\r\n");

    SUBCASE("nothing to drop") {
        profile_test::WriteTestFile(target.file, bytes);
        CHECK(RemoveSectionKeys(target, {L"C:\\other.exe.manifest"}));
    }
    SUBCASE("read-only") {
        profile_test::WriteTestFile(target.file, bytes);
        REQUIRE(SetFileAttributesW(target.file.c_str(), FILE_ATTRIBUTE_READONLY));
        CHECK_FALSE(RemoveSectionKeys(target, {L"C:\\a.exe.manifest"}));
        SetFileAttributesW(target.file.c_str(), FILE_ATTRIBUTE_NORMAL);
    }

    CHECK(xpv_test::ReadBytes(target.file) == bytes);
    CHECK_FALSE(profile_test::AnyFileMatches(folder / L"*.tmp"));
}
