#include "support/doctest_wide.h"

#include <cstdint>
#include <optional>
#include <string>

#include "settings/RegistryLocation.h"
#include "settings/TweakNumber.h"

TEST_CASE("A location splits at its first three commas, each field trimmed") {
    struct Case {
        std::wstring location;
        RegistryLocation expected;
    };
    const Case cases[] = {
        {L"HKEY_CURRENT_USER,Software\\Sample,ValueA,",
         {L"HKEY_CURRENT_USER", L"Software\\Sample", L"ValueA", L""}},
        {L"  HKEY_CURRENT_USER  ,  Software\\Sample  ,  ValueA  ,  ",
         {L"HKEY_CURRENT_USER", L"Software\\Sample", L"ValueA", L""}},
        // The fallback is the whole rest, commas included.
        {L"HKEY_CURRENT_USER,Software\\Sample,ValueA, 1 , 2 ",
         {L"HKEY_CURRENT_USER", L"Software\\Sample", L"ValueA", L"1 , 2"}},
        // Without the third comma the value name is taken for the fallback.
        {L"HKEY_CURRENT_USER,Software\\Sample,ValueA",
         {L"HKEY_CURRENT_USER", L"Software\\Sample", L"", L"ValueA"}},
        {L"HKEY_CURRENT_USER,Software\\Sample\\My Key,,",
         {L"HKEY_CURRENT_USER", L"Software\\Sample\\My Key", L"", L""}},
        {L"HKEY_CURRENT_USER", {L"", L"", L"", L"HKEY_CURRENT_USER"}},
        {L"", {L"", L"", L"", L""}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.location);
        const RegistryLocation split = SplitRegistryLocation(c.location);
        CHECK(split.rootName == c.expected.rootName);
        CHECK(split.path == c.expected.path);
        CHECK(split.valueName == c.expected.valueName);
        CHECK(split.fallback == c.expected.fallback);
    }
}

TEST_CASE("An Int text becomes the number at its start, halves rounded to even") {
    struct Case {
        std::wstring text;
        std::optional<std::int32_t> expected;
    };
    const Case cases[] = {
        {L"12", 12},
        {L" 12", 12},
        {L"   -7", -7},
        {L"+7", 7},
        {L"007", 7},
        {L"00000000000000000000001", 1},
        {L"2.5", 2},
        {L"3.5", 4},
        {L"0.5", 0},
        {L"1.5", 2},
        {L"-2.5", -2},
        {L"-3.5", -4},
        {L"2.5000", 2},
        {L"2.50001", 3},
        {L"2.4999", 2},
        {L".6", 1},
        {L"-0.6", -1},
        {L"7.", 7},
        {L"abc", 0},
        {L"", 0},
        {L"   ", 0},
        {L"-", 0},
        {L".", 0},
        {L"12abc", 12},
        {L"12 34", 12},
        {L"1.2.3", 1},
        {L"1e3", 1},
        {L"- 5", 0},
        {L"2147483647", 2147483647},
        {L"-2147483648", -2147483647 - 1},
        {L"2147483646.5", 2147483646},
        {L"-2147483648.5", -2147483647 - 1},
        // Outside the signed 32-bit range: no number at all rather than a wrong one.
        {L"2147483648", std::nullopt},
        {L"2147483647.5", std::nullopt},
        {L"-2147483649", std::nullopt},
        {L"4294967295", std::nullopt},
        {L"99999999999999999999", std::nullopt},
    };
    for (const Case& c : cases) {
        CAPTURE(c.text);
        CHECK(TweakNumberFromText(c.text) == c.expected);
    }
}
