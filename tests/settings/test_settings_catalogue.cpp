#include "support/doctest_wide.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/profile_test_files.h"
#include "platform/registry_test_root.h"
#include "settings/SettingsCatalogue.h"
#include "settings/TweakTicks.h"
#include "settings/doctest_ticks.h"
#include "settings/refusing_registry_keys.h"

using namespace registry_test;
using Lines = std::vector<std::wstring>;
using Names = std::vector<std::wstring>;
using Ticks = std::vector<TweakTick>;

namespace {

// A catalogue file of its own (ANSI, CR LF) and a registry key for the values its tweaks name.
struct CatalogueFixture {
    xpv_test::TempFolder folder{L"catalogue"};
    std::wstring file = folder / L"settings.db";
    TestRoot root{L"catalogue"};

    void Write(const Lines& lines) const {
        std::wstring text;
        for (const std::wstring& line : lines) {
            text += line + L"\r\n";
        }
        profile_test::WriteTestFile(file, profile_test::Ansi(text));
    }

    // "HKEY_CURRENT_USER,<test key>,<value>,<fallback>"
    std::wstring Location(const std::wstring& value, const std::wstring& fallback = L"") const {
        return L"HKEY_CURRENT_USER," + root.Path() + L"," + value + L"," + fallback;
    }

    std::optional<StoredValue> Stored(const std::wstring& value) const {
        return ReadStoredValue(root.Handle(), root.Path(), value);
    }
    void Put(const std::wstring& value, const std::optional<StoredValue>& stored) const {
        if (stored) {
            PutStoredValue(root.Handle(), root.Path(), value, *stored);
        } else {
            DeleteStoredValue(root.Handle(), root.Path(), value);
        }
    }
};

Lines TweakLines(const std::wstring& name, const std::wstring& location, const std::wstring& on,
                 const std::wstring& off, const std::wstring& type) {
    Lines lines{name + L"=" + location, L"xxxxx" + name + L" True1=" + on,
                L"xxxxx" + name + L" False1=" + off};
    if (!type.empty()) {
        lines.push_back(L"xxxxx" + name + L" Type1=" + type);
    }
    return lines;
}

Lines SecondValueLines(const std::wstring& name, const std::wstring& entry2,
                       const std::wstring& location, const std::wstring& on,
                       const std::wstring& off) {
    return {L"xxxxx" + name + L" Entry2=" + entry2, L"xxxxx" + name + L"2=" + location,
            L"xxxxx" + name + L" True2=" + on, L"xxxxx" + name + L" False2=" + off};
}

Lines Section(const std::wstring& group, std::initializer_list<Lines> parts) {
    Lines lines{L"[" + group + L"]"};
    for (const Lines& part : parts) {
        lines.insert(lines.end(), part.begin(), part.end());
    }
    return lines;
}

Lines Join(std::initializer_list<Lines> parts) {
    Lines lines;
    for (const Lines& part : parts) {
        lines.insert(lines.end(), part.begin(), part.end());
    }
    return lines;
}

}  // namespace

TEST_CASE("Groups are the catalogue's sections in file order") {
    CatalogueFixture catalogue;

    SUBCASE("sections") {
        catalogue.Write({L"; tweaks", L"[Explorer]", L"A=x", L"[Desktop]", L"[Fonts]", L"B=y"});
        CHECK(ListSettingsGroups(catalogue.file) == Names{L"Explorer", L"Desktop", L"Fonts"});
    }
    SUBCASE("an empty catalogue has no groups") {
        catalogue.Write({});
        CHECK(ListSettingsGroups(catalogue.file) == Names{});
        CHECK(ListGroupTweaks(catalogue.file, L"Explorer").empty());
    }
    SUBCASE("a missing catalogue cannot be listed, which the panel tells from an empty one") {
        CHECK_FALSE(ListSettingsGroups(catalogue.folder / L"missing.db").has_value());
        CHECK(ListGroupTweaks(catalogue.folder / L"missing.db", L"Explorer").empty());
    }
}

TEST_CASE("A group lists its tweaks in file order, without the keys that start with xxxxx") {
    CatalogueFixture catalogue;
    catalogue.Write({L"[Group 1]", L"A=1", L"xxxxxA True1=1", L"B=2", L"XXXXXC=3", L"xxxxD=4",
                     L"xxxxx=5", L"xxxxxB2=6", L"; comment=7", L"[Group 2]", L"E=8"});
    CHECK(ListGroupTweaks(catalogue.file, L"Group 1") == Names{L"A", L"B", L"XXXXXC", L"xxxxD"});
    CHECK(ListGroupTweaks(catalogue.file, L"Group 2") == Names{L"E"});
    CHECK(ListGroupTweaks(catalogue.file, L"Group 3").empty());
}

TEST_CASE("Refresh ticks a tweak by what the registry holds") {
    CatalogueFixture catalogue;
    const std::wstring v1 = catalogue.Location(L"V1");
    const std::wstring v2 = catalogue.Location(L"V2");
    struct Case {
        const char* what;
        Lines tweak;  // the lines of tweak T
        std::optional<StoredValue> first;
        std::optional<StoredValue> second;
        bool tickBefore;
        bool tickAfter;
    };
    const std::optional<StoredValue> absent;
    const Case cases[] = {
        {"number matching on", TweakLines(L"T", v1, L"1", L"0", L"Int"), NumberValue(1), absent, false, true},
        {"number matching off", TweakLines(L"T", v1, L"1", L"0", L"Int"), NumberValue(0), absent, true, false},
        {"matching neither keeps a tick", TweakLines(L"T", v1, L"1", L"0", L"Int"), NumberValue(5), absent, true, true},
        {"matching neither keeps no tick", TweakLines(L"T", v1, L"1", L"0", L"Int"), NumberValue(5), absent, false, false},
        {"missing value matches an off text xxxxx", TweakLines(L"T", v1, L"1", L"xxxxx", L"Int"), absent, absent, true, false},
        {"missing value matches an on text xxxxx", TweakLines(L"T", v1, L"xxxxx", L"1", L"Int"), absent, absent, false, true},
        {"blank text matches xxxxx", TweakLines(L"T", v1, L"xxxxx", L"1", L"String"), StringValue(L"  "), absent, false, true},
        {"on and off the same text: on wins", TweakLines(L"T", v1, L"same", L"SAME", L"String"), StringValue(L"Same"), absent, false, true},
        {"letter case is ignored", TweakLines(L"T", v1, L"yes", L"no", L"String"), StringValue(L"YES"), absent, false, true},
        {"blanks are not ignored", TweakLines(L"T", v1, L"yes", L"no", L"String"), StringValue(L" yes"), absent, false, false},
        {"0xFFFFFFFF matches -1", TweakLines(L"T", v1, L"-1", L"0", L"Int"), NumberValue(0xFFFFFFFF), absent, false, true},
        {"0xFFFFFFFF does not match 4294967295", TweakLines(L"T", v1, L"4294967295", L"0", L"Int"), NumberValue(0xFFFFFFFF), absent, false, false},
        {"blanks around the commas", TweakLines(L"T", L" HKEY_CURRENT_USER , " + catalogue.root.Path() + L" , V1 , ", L"1", L"0", L"Int"), NumberValue(1), absent, false, true},
        {"the fallback stands for another type", TweakLines(L"T", catalogue.Location(L"V1", L"binary"), L"binary", L"0", L"Int"), Bytes(REG_BINARY, "\1"), absent, false, true},
        {"an unknown root reads as missing", TweakLines(L"T", L"HKCU," + catalogue.root.Path() + L",V1,", L"1", L"xxxxx", L"Int"), NumberValue(1), absent, true, false},
        {"Entry2 TRUE, both on", Join({TweakLines(L"T", v1, L"1", L"0", L"Int"), SecondValueLines(L"T", L"TRUE", v2, L"on", L"off")}), NumberValue(1), StringValue(L"ON"), false, true},
        {"Entry2 TRUE, second not on", Join({TweakLines(L"T", v1, L"1", L"0", L"Int"), SecondValueLines(L"T", L"TRUE", v2, L"on", L"off")}), NumberValue(1), StringValue(L"off"), true, false},
        {"Entry2 true, second matching neither", Join({TweakLines(L"T", v1, L"1", L"0", L"Int"), SecondValueLines(L"T", L"true", v2, L"on", L"off")}), NumberValue(1), StringValue(L"maybe"), true, false},
        {"Entry2 true, first matching neither", Join({TweakLines(L"T", v1, L"1", L"0", L"Int"), SecondValueLines(L"T", L"true", v2, L"on", L"off")}), NumberValue(5), StringValue(L"on"), true, false},
        {"Entry2 true, missing second value matches xxxxx", Join({TweakLines(L"T", v1, L"1", L"0", L"Int"), SecondValueLines(L"T", L"True", v2, L"xxxxx", L"off")}), NumberValue(1), absent, false, true},
        {"Entry2 other than true: one value", Join({TweakLines(L"T", v1, L"1", L"0", L"Int"), SecondValueLines(L"T", L"yes", v2, L"on", L"off")}), NumberValue(1), StringValue(L"off"), false, true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        catalogue.Write(Section(L"G", {c.tweak}));
        catalogue.Put(L"V1", c.first);
        catalogue.Put(L"V2", c.second);
        CHECK(RefreshTweakTicks(catalogue.file, L"G", {{L"T", c.tickBefore}}) ==
              Ticks{{L"T", c.tickAfter}});
    }
}

TEST_CASE("The key's default value is read when the location has no third comma") {
    CatalogueFixture catalogue;
    catalogue.Write(Section(L"G", {TweakLines(L"T", L"HKEY_CURRENT_USER," + catalogue.root.Path() + L",V1", L"on", L"off", L"String")}));
    catalogue.Put(L"", StringValue(L"on"));
    catalogue.Put(L"V1", StringValue(L"off"));
    CHECK(RefreshTweakTicks(catalogue.file, L"G", {{L"T", false}}) == Ticks{{L"T", true}});
}

TEST_CASE("Apply writes the on or off texts by the tweak's Type1") {
    CatalogueFixture catalogue;
    const std::wstring v1 = catalogue.Location(L"V1");
    const std::wstring v2 = catalogue.Location(L"V2");
    struct Case {
        const char* what;
        Lines tweak;
        bool ticked;
        std::optional<StoredValue> first;
        std::optional<StoredValue> second;
    };
    const std::optional<StoredValue> absent;
    const Case cases[] = {
        {"Int on", TweakLines(L"T", v1, L"1", L"0", L"Int"), true, NumberValue(1), absent},
        {"Int off", TweakLines(L"T", v1, L"1", L"0", L"Int"), false, NumberValue(0), absent},
        {"Int with a leading blank", TweakLines(L"T", v1, L"\" 12\"", L"0", L"Int"), true, NumberValue(12), absent},
        {"Int 2.5 rounds to even", TweakLines(L"T", v1, L"2.5", L"0", L"Int"), true, NumberValue(2), absent},
        {"Int 3.5 rounds to even", TweakLines(L"T", v1, L"3.5", L"0", L"Int"), true, NumberValue(4), absent},
        {"Int of letters is 0", TweakLines(L"T", v1, L"abc", L"1", L"Int"), true, NumberValue(0), absent},
        {"Int xxxxx is 0", TweakLines(L"T", v1, L"1", L"xxxxx", L"Int"), false, NumberValue(0), absent},
        {"Int -1", TweakLines(L"T", v1, L"-1", L"0", L"Int"), true, NumberValue(0xFFFFFFFF), absent},
        {"Int out of range writes nothing", TweakLines(L"T", v1, L"4294967295", L"0", L"Int"), true, absent, absent},
        {"String on", TweakLines(L"T", v1, L"Yes", L"no", L"String"), true, StringValue(L"Yes"), absent},
        {"String off", TweakLines(L"T", v1, L"Yes", L"no", L"String"), false, StringValue(L"no"), absent},
        {"String xxxxx is those letters", TweakLines(L"T", v1, L"xxxxx", L"no", L"String"), true, StringValue(L"xxxxx"), absent},
        {"String 1 stays a text", TweakLines(L"T", v1, L"1", L"0", L"String"), true, StringValue(L"1"), absent},
        {"type in another letter case writes nothing", TweakLines(L"T", v1, L"1", L"0", L"int"), true, absent, absent},
        {"no type writes nothing", TweakLines(L"T", v1, L"1", L"0", L""), true, absent, absent},
        {"the fallback is never written", TweakLines(L"T", catalogue.Location(L"V1", L"fb"), L"1", L"0", L"String"), true, StringValue(L"1"), absent},
        {"blanks around the commas", TweakLines(L"T", L" HKEY_CURRENT_USER , " + catalogue.root.Path() + L" , V1 , ", L"1", L"0", L"Int"), true, NumberValue(1), absent},
        {"two values ticked, Type1 for both", Join({TweakLines(L"T", v1, L"1", L"2", L"Int"), SecondValueLines(L"T", L"TRUE", v2, L"7", L"8")}), true, NumberValue(1), NumberValue(7)},
        {"two values cleared", Join({TweakLines(L"T", v1, L"yes", L"no", L"String"), SecondValueLines(L"T", L"true", v2, L"on", L"off")}), false, StringValue(L"no"), StringValue(L"off")},
        {"Entry2 other than true: one value", Join({TweakLines(L"T", v1, L"1", L"0", L"Int"), SecondValueLines(L"T", L"False", v2, L"7", L"8")}), true, NumberValue(1), absent},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        catalogue.Write(Section(L"G", {c.tweak}));
        catalogue.Put(L"V1", absent);
        catalogue.Put(L"V2", absent);
        ApplyTweakTicks(catalogue.file, L"G", {{L"T", c.ticked}});
        CHECK(catalogue.Stored(L"V1") == c.first);
        CHECK(catalogue.Stored(L"V2") == c.second);
    }
}

TEST_CASE("A location longer than a per-key read is read and written whole, at exactly that place") {
    CatalogueFixture catalogue;
    // Cut to 254 characters the location would lose its last commas: the root of the hive and its
    // default value.
    const std::wstring deep = catalogue.root.Path() + L"\\" + std::wstring(100, L'a') + L"\\" +
                              std::wstring(100, L'b') + L"\\" + std::wstring(60, L'c');
    const std::wstring location = L"HKEY_CURRENT_USER," + deep + L",Value,";
    REQUIRE(location.size() > kProfileValueLimit);
    const std::optional<StoredValue> hiveDefault = ReadStoredValue(HKEY_CURRENT_USER, L"", L"");
    catalogue.Write(Section(L"G", {TweakLines(L"Long", location, L"on", L"off", L"String")}));

    ApplyTweakTicks(catalogue.file, L"G", {{L"Long", true}});
    CHECK(ReadStoredValue(catalogue.root.Handle(), deep, L"Value") == StringValue(L"on"));
    CHECK(ReadStoredValue(HKEY_CURRENT_USER, L"", L"") == hiveDefault);
    PutStoredValue(catalogue.root.Handle(), deep, L"Value", StringValue(L"off"));
    CHECK(RefreshTweakTicks(catalogue.file, L"G", {{L"Long", true}}) == Ticks{{L"Long", false}});
}

TEST_CASE("A tweak that cannot be written does not stop the others") {
    CatalogueFixture catalogue;
    catalogue.Write(Section(L"G", {TweakLines(L"Huge", catalogue.Location(L"V1"), L"4294967295", L"0", L"Int"),
                                   TweakLines(L"Nowhere", L"HKCU," + catalogue.root.Path() + L",V2,", L"1", L"0", L"Int"),
                                   TweakLines(L"Fine", catalogue.Location(L"V3"), L"3", L"0", L"Int")}));
    const std::vector<AppliedTweak> applied =
        ApplyTweakTicks(catalogue.file, L"G", {{L"Huge", true}, {L"Nowhere", true}, {L"Fine", true}});
    REQUIRE(applied.size() == 3);
    CHECK(applied[0].name == L"Huge");
    CHECK_FALSE(applied[0].status.Written());
    CHECK(applied[1].name == L"Nowhere");
    CHECK_FALSE(applied[1].status.Written());
    CHECK(applied[2].name == L"Fine");
    CHECK(applied[2].status.Written());
    CHECK_FALSE(catalogue.Stored(L"V1").has_value());
    CHECK_FALSE(catalogue.Stored(L"V2").has_value());
    CHECK(catalogue.Stored(L"V3") == NumberValue(3));
}

// The refusals are real ones of the registry: a key whose access list lets nobody write (as
// HKEY_LOCAL_MACHINE for a standard user), a lasting key below a volatile one, a key name longer
// than 255 characters, a value name of 16,384 characters, and a root key that takes no keys.
TEST_CASE("Apply tells for each tweak whether it was written and, value by value, why not") {
    CatalogueFixture catalogue;
    const std::wstring hkcu = L"HKEY_CURRENT_USER," + catalogue.root.Path();
    const std::wstring v1 = catalogue.Location(L"V1");
    const std::wstring v2 = catalogue.Location(L"V2");
    const ReadOnlyKey locked(catalogue.root.Handle(), catalogue.root / L"Locked");
    CreateVolatileKey(catalogue.root.Handle(), catalogue.root / L"Volatile");
    const std::wstring longKey(300, L'k');
    const std::wstring longValue(16384, L'v');
    const std::wstring place = L"HKEY_CURRENT_USER\\" + catalogue.root.Path() + L"\\";

    struct Value {
        TweakValueResult result;
        DWORD error;
        std::wstring place;  // as RegistryPlaceText gives it
        std::wstring text;
    };
    struct Case {
        const char* what;
        Lines tweak;
        bool ticked;
        bool typeKnown;
        std::vector<Value> values;
        bool written;
        bool inPart;
        std::optional<StoredValue> first;  // V1 and V2 of the test's key afterwards
        std::optional<StoredValue> second;
    };
    using enum TweakValueResult;
    const std::optional<StoredValue> absent;
    const Case cases[] = {
        {"String written", TweakLines(L"T", v1, L"yes", L"no", L"String"), false, true,
         {{Written, 0, place + L"V1", L"no"}}, true, false, StringValue(L"no"), absent},
        {"Int written", TweakLines(L"T", v1, L"7", L"0", L"Int"), true, true,
         {{Written, 0, place + L"V1", L"7"}}, true, false, NumberValue(7), absent},
        {"no type", TweakLines(L"T", v1, L"1", L"0", L""), true, false, {}, false, false, absent, absent},
        {"a type in another letter case", TweakLines(L"T", v1, L"1", L"0", L"int"), true, false, {}, false, false,
         absent, absent},
        {"Int above the range", TweakLines(L"T", v1, L"4294967295", L"0", L"Int"), true, true,
         {{NumberOutOfRange, 0, place + L"V1", L"4294967295"}}, false, false, absent, absent},
        {"Int below the range", TweakLines(L"T", v1, L"1", L"-2147483649", L"Int"), false, true,
         {{NumberOutOfRange, 0, place + L"V1", L"-2147483649"}}, false, false, absent, absent},
        {"an abbreviated root", TweakLines(L"T", L"HKCU," + catalogue.root.Path() + L",V1,", L"1", L"0", L"Int"),
         true, true, {{UnknownRoot, 0, L"HKCU\\" + catalogue.root.Path() + L"\\V1", L"1"}}, false, false, absent,
         absent},
        {"a key nobody may write", TweakLines(L"T", hkcu + L"\\Locked,V1,", L"on", L"off", L"String"), true, true,
         {{Refused, ERROR_ACCESS_DENIED, place + L"Locked\\V1", L"on"}}, false, false, absent, absent},
        {"a lasting key below a volatile one", TweakLines(L"T", hkcu + L"\\Volatile\\Lasting,V1,", L"1", L"0", L"Int"),
         true, true, {{Refused, ERROR_CHILD_MUST_BE_VOLATILE, place + L"Volatile\\Lasting\\V1", L"1"}}, false,
         false, absent, absent},
        {"a key name too long", TweakLines(L"T", hkcu + L"\\" + longKey + L",V1,", L"1", L"0", L"Int"), true, true,
         {{Refused, ERROR_INVALID_PARAMETER, place + longKey + L"\\V1", L"1"}}, false, false, absent, absent},
        {"a value name too long", TweakLines(L"T", catalogue.Location(longValue), L"on", L"off", L"String"), true,
         true, {{Refused, ERROR_INVALID_PARAMETER, place + longValue, L"on"}}, false, false, absent, absent},
        {"a root that takes no keys", TweakLines(L"T", L"HKEY_PERFORMANCE_DATA,Software\\Xpv,V1,", L"1", L"0", L"Int"),
         true, true, {{Refused, ERROR_INVALID_HANDLE, L"HKEY_PERFORMANCE_DATA\\Software\\Xpv\\V1", L"1"}}, false,
         false, absent, absent},
        {"two values, the second refused",
         Join({TweakLines(L"T", v1, L"1", L"0", L"Int"),
               SecondValueLines(L"T", L"true", hkcu + L"\\Locked,V2,", L"2", L"3")}),
         true, true, {{Written, 0, place + L"V1", L"1"}, {Refused, ERROR_ACCESS_DENIED, place + L"Locked\\V2", L"2"}},
         false, true, NumberValue(1), absent},
        {"two values, the first out of range",
         Join({TweakLines(L"T", v1, L"1", L"99999999999", L"Int"), SecondValueLines(L"T", L"true", v2, L"2", L"3")}),
         false, true, {{NumberOutOfRange, 0, place + L"V1", L"99999999999"}, {Written, 0, place + L"V2", L"3"}},
         false, true, absent, NumberValue(3)},
        {"two values, neither written",
         Join({TweakLines(L"T", L"HKCU," + catalogue.root.Path() + L",V1,", L"a", L"b", L"String"),
               SecondValueLines(L"T", L"true", hkcu + L"\\Volatile\\Lasting,V2,", L"c", L"d")}),
         false, true,
         {{UnknownRoot, 0, L"HKCU\\" + catalogue.root.Path() + L"\\V1", L"b"},
          {Refused, ERROR_CHILD_MUST_BE_VOLATILE, place + L"Volatile\\Lasting\\V2", L"d"}},
         false, false, absent, absent},
        {"two values without a type", Join({TweakLines(L"T", v1, L"1", L"0", L""), SecondValueLines(L"T", L"true", v2, L"2", L"3")}),
         true, false, {}, false, false, absent, absent},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        catalogue.Write(Section(L"G", {c.tweak}));
        catalogue.Put(L"V1", absent);
        catalogue.Put(L"V2", absent);
        const std::vector<AppliedTweak> applied = ApplyTweakTicks(catalogue.file, L"G", {{L"T", c.ticked}});
        REQUIRE(applied.size() == 1);
        const TweakStatus& status = applied[0].status;
        CHECK(applied[0].name == L"T");
        CHECK(status.on == c.ticked);
        CHECK(status.typeKnown == c.typeKnown);
        CHECK(status.Written() == c.written);
        CHECK(status.WrittenInPart() == c.inPart);
        REQUIRE(status.values.size() == c.values.size());
        for (size_t i = 0; i < c.values.size(); ++i) {
            CAPTURE(i);
            CHECK(status.values[i].result == c.values[i].result);
            CHECK(status.values[i].platformError == c.values[i].error);
            CHECK(RegistryPlaceText(status.values[i].location) == c.values[i].place);
            CHECK(status.values[i].text == c.values[i].text);
        }
        CHECK(catalogue.Stored(L"V1") == c.first);
        CHECK(catalogue.Stored(L"V2") == c.second);

        // Checking without writing finds the same faults of the entry; a refusal only the registry
        // can tell. Nothing is written.
        catalogue.Put(L"V1", absent);
        catalogue.Put(L"V2", absent);
        const TweakStatus checked = CheckTweak(ReadTweak(catalogue.file, L"G", L"T"), c.ticked);
        CHECK(checked.typeKnown == c.typeKnown);
        REQUIRE(checked.values.size() == c.values.size());
        for (size_t i = 0; i < c.values.size(); ++i) {
            CAPTURE(i);
            CHECK(checked.values[i].result == (c.values[i].result == Refused ? Written : c.values[i].result));
        }
        CHECK_FALSE(catalogue.Stored(L"V1").has_value());
        CHECK_FALSE(catalogue.Stored(L"V2").has_value());
    }
    CHECK_FALSE(ReadStoredValue(catalogue.root.Handle(), catalogue.root / L"Locked", L"V1").has_value());
    CHECK_FALSE(ReadStoredValue(catalogue.root.Handle(), catalogue.root / L"Locked", L"V2").has_value());
    CHECK_FALSE(KeyExists(catalogue.root.Handle(), catalogue.root / L"Volatile\\Lasting"));
}

TEST_CASE("Apply with every box cleared writes the off texts of the current group only") {
    CatalogueFixture catalogue;
    catalogue.Write(Join({Section(L"One", {TweakLines(L"A", catalogue.Location(L"A"), L"1", L"0", L"Int"),
                                           TweakLines(L"B", catalogue.Location(L"B"), L"on", L"off", L"String")}),
                          Section(L"Two", {TweakLines(L"C", catalogue.Location(L"C"), L"1", L"0", L"Int")})}));
    const Names tweaks = ListGroupTweaks(catalogue.file, L"One");
    REQUIRE(tweaks == Names{L"A", L"B"});
    Ticks cleared;
    for (const std::wstring& name : tweaks) {
        cleared.push_back({name, false});
    }
    ApplyTweakTicks(catalogue.file, L"One", cleared);
    CHECK(catalogue.Stored(L"A") == NumberValue(0));
    CHECK(catalogue.Stored(L"B") == StringValue(L"off"));
    CHECK_FALSE(catalogue.Stored(L"C").has_value());
}

TEST_CASE("Refresh restores the ticks the registry gives and keeps those it cannot tell") {
    CatalogueFixture catalogue;
    catalogue.Write(Section(L"G", {TweakLines(L"On", catalogue.Location(L"A"), L"1", L"0", L"Int"),
                                   TweakLines(L"Off", catalogue.Location(L"B"), L"1", L"0", L"Int"),
                                   TweakLines(L"Unknown", catalogue.Location(L"C"), L"1", L"0", L"Int")}));
    ApplyTweakTicks(catalogue.file, L"G", {{L"On", true}, {L"Off", false}});
    catalogue.Put(L"C", NumberValue(9));
    // The user flips every box and refreshes without applying.
    CHECK(RefreshTweakTicks(catalogue.file, L"G", {{L"On", false}, {L"Off", true}, {L"Unknown", true}}) ==
          Ticks{{L"On", true}, {L"Off", false}, {L"Unknown", true}});
    CHECK(RefreshTweakTicks(catalogue.file, L"G", {{L"On", false}, {L"Off", true}, {L"Unknown", false}}) ==
          Ticks{{L"On", true}, {L"Off", false}, {L"Unknown", false}});
}

TEST_CASE("Every call reads the catalogue anew") {
    CatalogueFixture catalogue;
    catalogue.Put(L"A", StringValue(L"new"));
    catalogue.Write(Section(L"G", {TweakLines(L"T", catalogue.Location(L"A"), L"old", L"new", L"String")}));
    CHECK(RefreshTweakTicks(catalogue.file, L"G", {{L"T", true}}) == Ticks{{L"T", false}});
    catalogue.Write(Section(L"G", {TweakLines(L"T", catalogue.Location(L"A"), L"new", L"old", L"String")}));
    CHECK(RefreshTweakTicks(catalogue.file, L"G", {{L"T", false}}) == Ticks{{L"T", true}});
    ApplyTweakTicks(catalogue.file, L"G", {{L"T", false}});
    CHECK(catalogue.Stored(L"A") == StringValue(L"old"));
}

TEST_CASE("A group without tweaks, and an empty list, do nothing") {
    CatalogueFixture catalogue;
    catalogue.Write({L"[Empty]", L"[G]", L"T=" + catalogue.Location(L"A"), L"xxxxxT True1=1",
                     L"xxxxxT False1=0", L"xxxxxT Type1=Int"});
    CHECK(ListGroupTweaks(catalogue.file, L"Empty").empty());
    CHECK(RefreshTweakTicks(catalogue.file, L"G", {}).empty());
    ApplyTweakTicks(catalogue.file, L"G", {});
    ApplyTweakTicks(catalogue.file, L"Empty", {});
    CHECK_FALSE(KeyExists(catalogue.root.Handle(), catalogue.root.Path()));
}
