// The words for tweaks that were not set, shared by the Settings panel and the console program.
#include "support/doctest_wide.h"

#include <string>
#include <vector>

#include "platform/ErrorText.h"
#include "settings/TweakStatusText.h"

namespace {

const RegistryLocation kPlace{L"HKEY_CURRENT_USER", L"Software\\Sample", L"Value", L""};
const RegistryLocation kDefaultValue{L"HKEY_LOCAL_MACHINE", L"Software\\Sample", L"", L""};

TweakValueStatus WrittenValue(const std::wstring& text = L"1") { return {.location = kPlace, .text = text}; }
TweakValueStatus RefusedValue(DWORD error, const RegistryLocation& location = kPlace) {
    return {.result = TweakValueResult::Refused, .location = location, .text = L"1", .platformError = error};
}

AppliedTweak Tweak(const std::wstring& name, bool on, std::vector<TweakValueStatus> values) {
    return {name, {.on = on, .values = std::move(values)}};
}
AppliedTweak Untyped(const std::wstring& name) { return {name, {.on = true, .typeKnown = false}}; }

}  // namespace

TEST_CASE("A tweak not set is named with the reason, the place, and what to do") {
    const std::wstring denied = L"(" + PlatformErrorText(ERROR_ACCESS_DENIED) + L")";
    const std::wstring volatileParent = L"(" + PlatformErrorText(ERROR_CHILD_MUST_BE_VOLATILE) + L")";
    struct Case {
        const char* what;
        AppliedTweak tweak;
        std::wstring text;
    };
    const Case cases[] = {
        {"written", Tweak(L"Menu", true, {WrittenValue()}), L""},
        {"written, two values", Tweak(L"Menu", false, {WrittenValue(), WrittenValue()}), L""},
        {"no type", Untyped(L"Menu delay"),
         L"\"Menu delay\" was not turned on. Its entry \"xxxxxMenu delay Type1\" in settings.db names no type to "
         L"write it as: make it String or Int (letter case counts)."},
        {"off text out of range",
         Tweak(L"Big", false, {{.result = TweakValueResult::NumberOutOfRange, .location = kPlace, .text = L"4294967295"}}),
         L"\"Big\" was not turned off. Its entry \"xxxxxBig False1\" in settings.db holds \"4294967295\", a number "
         L"a registry number cannot hold (it holds -2147483648 to 2147483647): correct the entry."},
        {"on text of the second value out of range",
         Tweak(L"Big", true, {WrittenValue(), {.result = TweakValueResult::NumberOutOfRange, .location = kPlace, .text = L"-3000000000"}}),
         L"\"Big\" was turned on only in part. Its entry \"xxxxxBig True2\" in settings.db holds \"-3000000000\", a "
         L"number a registry number cannot hold (it holds -2147483648 to 2147483647): correct the entry."},
        {"unknown root of the first value",
         Tweak(L"Icons", true, {{.result = TweakValueResult::UnknownRoot, .location = {L"HKCU", L"Software", L"V", L""}, .text = L"1"}}),
         L"\"Icons\" was not turned on. Its entry \"Icons\" in settings.db names the root key \"HKCU\", which "
         L"Windows does not have: write it in full, such as HKEY_CURRENT_USER."},
        {"access denied",
         Tweak(L"Icons", true, {RefusedValue(ERROR_ACCESS_DENIED, kDefaultValue)}),
         L"\"Icons\" was not turned on. The registry refused to write HKEY_LOCAL_MACHINE\\Software\\Sample\\(default) " +
             denied + L": this account may not change it; run XP Vestrim as administrator."},
        {"another refusal names the entry to check",
         Tweak(L"Icons", false, {RefusedValue(ERROR_CHILD_MUST_BE_VOLATILE)}),
         L"\"Icons\" was not turned off. The registry refused to write HKEY_CURRENT_USER\\Software\\Sample\\Value " +
             volatileParent + L": check the place its entry \"Icons\" in settings.db names."},
        {"the second value refused, the first written",
         Tweak(L"Hidden", true, {WrittenValue(), RefusedValue(ERROR_CHILD_MUST_BE_VOLATILE)}),
         L"\"Hidden\" was turned on only in part. The registry refused to write "
         L"HKEY_CURRENT_USER\\Software\\Sample\\Value " +
             volatileParent + L": check the place its entry \"xxxxxHidden2\" in settings.db names."},
        {"both values, each with its reason",
         Tweak(L"Hidden", false,
               {{.result = TweakValueResult::UnknownRoot, .location = {L"", L"Software", L"V", L""}, .text = L"0"},
                RefusedValue(ERROR_ACCESS_DENIED)}),
         L"\"Hidden\" was not turned off. Its entry \"Hidden\" in settings.db names the root key \"\", which Windows "
         L"does not have: write it in full, such as HKEY_CURRENT_USER. The registry refused to write "
         L"HKEY_CURRENT_USER\\Software\\Sample\\Value " +
             denied + L": this account may not change it; run XP Vestrim as administrator."},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        CHECK(TweakNotSetText(c.tweak) == c.text);
    }
}

TEST_CASE("The report after Apply counts the tweaks not set and those set, and says how to see the registry") {
    const AppliedTweak set = Tweak(L"Fine", true, {WrittenValue()});
    const AppliedTweak untyped = Untyped(L"A");
    const std::wstring untypedLine = TweakNotSetText(untyped);
    REQUIRE_FALSE(untypedLine.empty());
    const std::wstring refresh = L"Refresh Settings shows what the registry holds now.";

    SUBCASE("nothing when every tweak was set, or none was listed") {
        CHECK(TweaksNotSetReport({set, set}) == L"");
        CHECK(TweaksNotSetReport({}) == L"");
    }
    SUBCASE("one not set among three") {
        CHECK(TweaksNotSetReport({set, untyped, set}) ==
              L"This tweak was not set as its box shows:\r\n\r\n" + untypedLine +
                  L"\r\n\r\nThe other 2 tweaks were set. " + refresh);
    }
    SUBCASE("two not set, one set") {
        const AppliedTweak partly = Tweak(L"B", false, {WrittenValue(), RefusedValue(ERROR_ACCESS_DENIED)});
        CHECK(TweaksNotSetReport({untyped, set, partly}) ==
              L"These 2 tweaks were not set as their boxes show:\r\n\r\n" + untypedLine + L"\r\n" +
                  TweakNotSetText(partly) + L"\r\n\r\nThe other tweak was set. " + refresh);
    }
    SUBCASE("the first ten of many, then how many more; none set") {
        std::vector<AppliedTweak> applied;
        std::wstring expected = L"These 12 tweaks were not set as their boxes show:\r\n";
        for (int i = 0; i < 12; ++i) {
            applied.push_back(Untyped(L"T" + std::to_wstring(i)));
            if (i < 10) expected += L"\r\n" + TweakNotSetText(applied.back());
        }
        CHECK(TweaksNotSetReport(applied) == expected + L"\r\nand 2 more\r\n\r\n" + refresh);
    }
}
