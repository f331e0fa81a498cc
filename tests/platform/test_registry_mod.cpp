#include "support/doctest_wide.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <variant>

#include "platform/RegistryMod.h"
#include "platform/registry_test_root.h"

using namespace registry_test;
using namespace std::string_literals;

namespace {

constexpr RegistryRoot kCurrentUser = 0x80000001;
constexpr RegistryRoot kLocalMachine = 0x80000002;

std::wstring QueryText(const TestRoot& root, const std::wstring& name,
                       const std::wstring& defaultValue) {
    return RegistryValueText(QueryRegistryValue(root.Root(), root.Path(), name, defaultValue));
}

}  // namespace

TEST_CASE("RootKeyFromName knows the seven full root names in any letter case, nothing else") {
    struct Case {
        std::wstring name;
        RegistryRoot root;
    };
    const Case cases[] = {
        {L"HKEY_CLASSES_ROOT", 0x80000000},     {L"HKEY_CURRENT_USER", 0x80000001},
        {L"HKEY_LOCAL_MACHINE", 0x80000002},    {L"HKEY_USERS", 0x80000003},
        {L"HKEY_PERFORMANCE_DATA", 0x80000004}, {L"HKEY_CURRENT_CONFIG", 0x80000005},
        {L"HKEY_DYN_DATA", 0x80000006},         {L"hkey_current_user", 0x80000001},
        {L"Hkey_Local_Machine", 0x80000002},    {L"HKCU", 0},
        {L"HKLM", 0},                           {L"", 0},
        {L" HKEY_CURRENT_USER", 0},             {L"HKEY_CURRENT_USER\\", 0},
        {L"HKEY_CURRENT", 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        CHECK(RootKeyFromName(c.name) == c.root);
    }
    CHECK(RegistryRootHandle(0x80000001) == HKEY_CURRENT_USER);
    CHECK(RegistryRootHandle(0x80000002) == HKEY_LOCAL_MACHINE);
    CHECK(RegistryRootHandle(0) == nullptr);
    CHECK(RegistryRootHandle(0x80000007) == nullptr);
}

TEST_CASE("QueryRegistryValue reads strings and 4-byte numbers and trusts nothing else") {
    const TestRoot root(L"query");
    struct Case {
        const char* what;
        StoredValue stored;
        std::wstring defaultValue;
        std::wstring expected;
        bool isNumber;
    };
    const Case cases[] = {
        {"three digits as text", StringValue(L"400"), L"", L"400", false},
        {"text keeps its letter case", StringValue(L"Yes"), L"", L"Yes", false},
        {"trailing blanks of a terminated text stay", StringValue(L"abc  "), L"", L"abc  ", false},
        {"empty text", StringValue(L""), L"fb", L"xxxxx", false},
        {"all-blank text", StringValue(L"   "), L"", L"xxxxx", false},
        {"text without terminator", Utf16(REG_SZ, L"400"), L"", L"400", false},
        {"text of an odd byte count", Bytes(REG_SZ, std::string("4\0" "0\0" "7", 5)), L"", L"40", false},
        {"text with a NUL inside ends there", Utf16(REG_SZ, L"ab\0cd\0"s), L"", L"ab", false},
        {"number 1", NumberValue(1), L"", L"1", true},
        {"number 0", NumberValue(0), L"fb", L"0", true},
        {"0xFFFFFFFF is -1", NumberValue(0xFFFFFFFF), L"", L"-1", true},
        {"0x80000000 is the smallest number", NumberValue(0x80000000), L"", L"-2147483648", true},
        {"a number of 2 bytes reads as another type", Bytes(REG_DWORD, std::string("\1\0", 2)), L"fb", L"fb", false},
        {"a number of 8 bytes reads as another type", Bytes(REG_DWORD, std::string(8, '\1')), L"", L"xxxxx", false},
        {"binary with a default", Bytes(REG_BINARY, "\1\2\3"), L"fb", L"fb", false},
        {"binary with an empty default", Bytes(REG_BINARY, "\1\2\3"), L"", L"xxxxx", false},
        {"binary with a blank default", Bytes(REG_BINARY, "\1\2\3"), L"  ", L"xxxxx", false},
        {"expandable text", Utf16(REG_EXPAND_SZ, L"%windir%\0"s), L"fb", L"fb", false},
        {"multi-string", Utf16(REG_MULTI_SZ, L"a\0b\0\0"s), L"fb", L"fb", false},
        {"number in big-endian form", Bytes(REG_DWORD_BIG_ENDIAN, std::string("\0\0\0\1", 4)), L"fb", L"fb", false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        PutStoredValue(root.Handle(), root.Path(), L"Probe", c.stored);
        REQUIRE(ReadStoredValue(root.Handle(), root.Path(), L"Probe") == c.stored);
        const RegistryValue value =
            QueryRegistryValue(kCurrentUser, root.Path(), L"Probe", c.defaultValue);
        CHECK(RegistryValueText(value) == c.expected);
        CHECK(std::holds_alternative<std::int32_t>(value) == c.isNumber);
    }
}

TEST_CASE("QueryRegistryValue gives xxxxx for what is not there, whatever the default") {
    const TestRoot root(L"absent");
    PutStoredValue(root.Handle(), root.Path(), L"", StringValue(L"default value"));

    CHECK(QueryText(root, L"Missing", L"fb") == L"xxxxx");
    CHECK(RegistryValueText(QueryRegistryValue(kCurrentUser, root / L"No\\Such\\Key", L"Probe",
                                               L"fb")) == L"xxxxx");
    CHECK(RegistryValueText(QueryRegistryValue(0, root.Path(), L"", L"fb")) == L"xxxxx");
    CHECK(RegistryValueText(QueryRegistryValue(0x12345678, root.Path(), L"", L"fb")) == L"xxxxx");
    // The empty name is the key's default value.
    CHECK(QueryText(root, L"", L"fb") == L"default value");
    CHECK(RegistryValueText(QueryRegistryValue(RootKeyFromName(L"hkey_current_user"),
                                               root.Path(), L"", L"")) == L"default value");
}

TEST_CASE("QueryRegistryValue reads a long text whole") {
    const TestRoot root(L"long");
    const std::wstring text(20000, L'k');
    PutStoredValue(root.Handle(), root.Path(), L"Long", StringValue(text));
    CHECK(QueryText(root, L"Long", L"") == text);
}

TEST_CASE("SetRegistryString stores the standard form and creates the path") {
    const TestRoot root(L"string");
    const std::wstring deep = root / L"One\\Two\\Three";

    CHECK(SetRegistryString(kCurrentUser, deep, L"Text", L"abc") == ERROR_SUCCESS);
    // The terminating NUL is stored and counted: 3 characters and NUL in UTF-16. (The registry
    // itself adds a forgotten one when a NUL follows the data, so the empty text below is where
    // a count without it would show.)
    CHECK(ReadStoredValue(root.Handle(), deep, L"Text") == StringValue(L"abc"));
    CHECK(ReadStoredValue(root.Handle(), deep, L"Text")->data.size() == 8);
    CHECK(RegistryValueText(QueryRegistryValue(kCurrentUser, deep, L"Text", L"")) == L"abc");

    SUBCASE("empty text") {
        CHECK(SetRegistryString(kCurrentUser, root.Path(), L"Empty", L"") == ERROR_SUCCESS);
        CHECK(ReadStoredValue(root.Handle(), root.Path(), L"Empty") == StringValue(L""));
        CHECK(QueryText(root, L"Empty", L"fb") == L"xxxxx");
    }
    SUBCASE("text outside the ANSI code page") {
        const std::wstring greek = L"\u03a9\u03bc\u03ad\u03b3\u03b1";
        CHECK(SetRegistryString(kCurrentUser, root.Path(), L"Greek", greek) == ERROR_SUCCESS);
        CHECK(QueryText(root, L"Greek", L"") == greek);
    }
    SUBCASE("replaces a number and writes the default value") {
        PutStoredValue(root.Handle(), root.Path(), L"Was", NumberValue(5));
        CHECK(SetRegistryString(kCurrentUser, root.Path(), L"Was", L"5") == ERROR_SUCCESS);
        CHECK(ReadStoredValue(root.Handle(), root.Path(), L"Was") == StringValue(L"5"));
        CHECK(SetRegistryString(kCurrentUser, root.Path(), L"", L"dv") == ERROR_SUCCESS);
        CHECK(ReadStoredValue(root.Handle(), root.Path(), L"") == StringValue(L"dv"));
    }
}

TEST_CASE("SetRegistryNumber stores a 4-byte REG_DWORD") {
    const TestRoot root(L"number");
    CHECK(SetRegistryNumber(kCurrentUser, root / L"A\\B", L"Zero", 0) == ERROR_SUCCESS);
    CHECK(ReadStoredValue(root.Handle(), root / L"A\\B", L"Zero") == NumberValue(0));

    CHECK(SetRegistryNumber(kCurrentUser, root.Path(), L"Minus", -1) == ERROR_SUCCESS);
    CHECK(ReadStoredValue(root.Handle(), root.Path(), L"Minus") == NumberValue(0xFFFFFFFF));
    CHECK(QueryText(root, L"Minus", L"") == L"-1");

    PutStoredValue(root.Handle(), root.Path(), L"WasText", StringValue(L"x"));
    CHECK(SetRegistryNumber(kCurrentUser, root.Path(), L"WasText", 400) == ERROR_SUCCESS);
    CHECK(ReadStoredValue(root.Handle(), root.Path(), L"WasText") == NumberValue(400));
}

TEST_CASE("Writes to an unknown root fail and write nothing") {
    const TestRoot root(L"unknown");
    CHECK(SetRegistryString(RootKeyFromName(L"HKCU"), root.Path(), L"Text", L"abc") != ERROR_SUCCESS);
    CHECK(SetRegistryNumber(0x12345678, root.Path(), L"Number", 1) != ERROR_SUCCESS);
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, root.Path()));
}

// On 64-bit Windows a 32-bit program that names HKEY_LOCAL_MACHINE\SOFTWARE\X reaches
// SOFTWARE\Wow6432Node\X unless it asks for the 64-bit view; the system reads the former.
TEST_CASE("Values under HKEY_LOCAL_MACHINE\\SOFTWARE land in the view the system reads") {
    const TestRoot root(L"view", kLocalMachine, L"SOFTWARE");
    const std::wstring redirected = L"SOFTWARE\\Wow6432Node\\" + root.Name();

    CHECK(SetRegistryNumber(kLocalMachine, root.Path(), L"Number", 7) == ERROR_SUCCESS);
    CHECK(SetRegistryString(kLocalMachine, root.Path(), L"Text", L"seven") == ERROR_SUCCESS);

    CHECK(ReadStoredValue(HKEY_LOCAL_MACHINE, root.Path(), L"Number") == NumberValue(7));
    CHECK(ReadStoredValue(HKEY_LOCAL_MACHINE, root.Path(), L"Text") == StringValue(L"seven"));
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, redirected));
    CHECK(RegistryValueText(QueryRegistryValue(kLocalMachine, root.Path(), L"Number", L"")) == L"7");
    DeleteKeyTree(HKEY_LOCAL_MACHINE, redirected);  // in case it went there after all

    if constexpr (sizeof(void*) == 4) {
        // The check above means something only where redirection happens: show that it does.
        BOOL underWow64 = FALSE;
        REQUIRE(IsWow64Process(GetCurrentProcess(), &underWow64));
        REQUIRE(underWow64);
        const TestRoot plain(L"view-plain", kLocalMachine, L"SOFTWARE");
        {
            UniqueRegistryKey key;
            REQUIRE(RegCreateKeyExW(HKEY_LOCAL_MACHINE, plain.Path().c_str(), 0, nullptr, 0,
                                    KEY_SET_VALUE, nullptr, key.receive(), nullptr) == ERROR_SUCCESS);
        }
        CHECK(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Wow6432Node\\" + plain.Name()));
        CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, plain.Path()));
        DeleteKeyTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Wow6432Node\\" + plain.Name());
    }
}
