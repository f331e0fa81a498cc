#include "support/doctest_wide.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/IniEditor.h"
#include "platform/RegistryMod.h"
#include "platform/TextFunctions.h"
#include "platform/registry_test_root.h"
#include "settings/SettingsCatalogue.h"
#include "settings/TweakNumber.h"
#include "settings/TweakStatusText.h"
#include "settings/TweakTicks.h"
#include "settings/doctest_ticks.h"
#include "support/TempFolder.h"

using namespace registry_test;

namespace {

const std::wstring kCatalogue = XPV_SHIPPED_CATALOGUE;

std::wstring Widen(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find(L"\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool StartsWithIgnoringCase(const std::wstring& text, std::wstring_view prefix) {
    return text.size() >= prefix.size() &&
           CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str(),
                          static_cast<int>(prefix.size()), prefix.data(),
                          static_cast<int>(prefix.size())) == CSTR_EQUAL;
}

// Every registry value the test writes, as it was before, and the keys the writes created;
// put back at the end even when a check stops the test.
class RegistrySnapshot {
public:
    RegistrySnapshot() = default;
    RegistrySnapshot(const RegistrySnapshot&) = delete;
    RegistrySnapshot& operator=(const RegistrySnapshot&) = delete;
    ~RegistrySnapshot() { Restore(); }

    void Save(const RegistryLocation& location) {
        const HKEY root = RegistryRootHandle(RootKeyFromName(location.rootName));
        REQUIRE(root != nullptr);
        values_.push_back({root, location.path, location.valueName,
                           ReadStoredValue(root, location.path, location.valueName)});
        // The first level of the path that is missing now would be created by a write.
        std::wstring prefix;
        for (size_t start = 0; start <= location.path.size();) {
            size_t end = location.path.find(L'\\', start);
            if (end == std::wstring::npos) end = location.path.size();
            prefix = location.path.substr(0, end);
            if (!KeyExists(root, prefix)) {
                createdKeys_.insert({root, prefix});
                break;
            }
            start = end + 1;
        }
    }

    void Restore() {
        if (restored_) return;
        restored_ = true;
        for (auto value = values_.rbegin(); value != values_.rend(); ++value) {
            UniqueRegistryKey key;
            if (RegOpenKeyExW(value->root, value->path.c_str(), 0, KEY_SET_VALUE | kView,
                              key.receive()) != ERROR_SUCCESS) {
                continue;
            }
            if (value->stored) {
                CHECK(RegSetValueExW(key.get(), value->name.c_str(), 0, value->stored->type,
                                     value->stored->data.data(),
                                     static_cast<DWORD>(value->stored->data.size())) ==
                      ERROR_SUCCESS);
            } else {
                RegDeleteValueW(key.get(), value->name.c_str());
            }
        }
        for (const auto& [root, path] : createdKeys_) {
            DeleteKeyTree(root, path);
        }
    }

    // Whether the registry holds again what it held when the values were saved.
    void CheckRestored() const {
        for (const SavedValue& value : values_) {
            CAPTURE(value.path);
            CAPTURE(value.name);
            CHECK(ReadStoredValue(value.root, value.path, value.name) == value.stored);
        }
        for (const auto& [root, path] : createdKeys_) {
            CAPTURE(path);
            CHECK_FALSE(KeyExists(root, path));
        }
    }

private:
    struct SavedValue {
        HKEY root;
        std::wstring path;
        std::wstring name;
        std::optional<StoredValue> stored;
    };
    std::vector<SavedValue> values_;
    std::set<std::pair<HKEY, std::wstring>> createdKeys_;
    bool restored_ = false;
};

void CheckValueTexts(const TweakValue& value, TweakType type) {
    CHECK(RootKeyFromName(value.location.rootName) != 0);
    CHECK_FALSE(value.location.path.empty());
    CHECK_FALSE(value.location.valueName.empty());
    CHECK(value.location.fallback.empty());
    for (const std::wstring& text : {value.onText, value.offText}) {
        CAPTURE(text);
        CHECK_FALSE(text.empty());
        if (type == TweakType::Int) {
            // A refresh compares the text with the number read back as signed decimal digits.
            const std::optional<std::int32_t> number = TweakNumberFromText(text);
            REQUIRE(number.has_value());
            CHECK(std::to_wstring(*number) == text);
        }
    }
    CHECK(value.onText != value.offText);
}

std::vector<TweakTick> AllTicked(const std::vector<std::wstring>& names, bool ticked) {
    std::vector<TweakTick> ticks;
    for (const std::wstring& name : names) {
        ticks.push_back({name, ticked});
    }
    return ticks;
}

}  // namespace

TEST_CASE("The shipped catalogue is ASCII text with CR LF line ends") {
    const std::string bytes = xpv_test::ReadBytes(kCatalogue);
    REQUIRE_FALSE(bytes.empty());
    // Printable ASCII, and CR and LF only as a pair.
    size_t offending = std::string::npos;
    for (size_t i = 0; i < bytes.size() && offending == std::string::npos; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const bool fits = (byte >= 0x20 && byte < 0x7F) ||
                          (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ||
                          (byte == '\n' && i > 0 && bytes[i - 1] == '\r');
        if (!fits) offending = i;
    }
    CHECK(offending == std::string::npos);
    CHECK(bytes.ends_with("\r\n"));
}

TEST_CASE("Every line of the shipped catalogue follows the format") {
    const std::vector<std::wstring> lines = SplitLines(Widen(xpv_test::ReadBytes(kCatalogue)));
    REQUIRE_FALSE(lines.empty());
    std::wstring group;
    std::vector<std::wstring> tweaksOfGroup;
    std::vector<std::wstring> tweaksSeen;
    const auto checkGroupTweaks = [&] {
        if (!group.empty()) {
            CAPTURE(group);
            CHECK(tweaksOfGroup == ListGroupTweaks(kCatalogue, group));
        }
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::wstring& line = lines[i];
        CAPTURE(line);
        if (line.empty() || line.starts_with(L";")) {
            CHECK(line.find(L'=') == std::wstring::npos);
            continue;
        }
        if (line.starts_with(L"[")) {
            checkGroupTweaks();
            group = line.substr(1, line.size() - 2);
            tweaksOfGroup.clear();
            CHECK(line == L"[" + group + L"]");
            CHECK(group.find_first_of(L";[]") == std::wstring::npos);
            continue;
        }
        REQUIRE_FALSE(group.empty());
        const size_t equals = line.find(L'=');
        REQUIRE(equals != std::wstring::npos);
        const std::wstring key = line.substr(0, equals);
        // Longer values would be cut short by the reads.
        CHECK(line.size() - equals - 1 < kProfileValueLimit);
        CHECK(key == TrimBlanks(key));
        if (key.starts_with(L"xxxxx")) {
            continue;
        }
        CHECK_FALSE(StartsWithIgnoringCase(key, L"xxxxx"));
        // The comment that says what the tweak does stands right above it.
        REQUIRE(i > 0);
        CHECK(lines[i - 1].starts_with(L";"));
        // Three commas, the fallback empty.
        CHECK(std::count(line.begin() + equals, line.end(), L',') == 3);
        CHECK(line.ends_with(L","));
        tweaksOfGroup.push_back(key);
        tweaksSeen.push_back(key);
    }
    checkGroupTweaks();
    std::sort(tweaksSeen.begin(), tweaksSeen.end());
    CHECK(std::adjacent_find(tweaksSeen.begin(), tweaksSeen.end()) == tweaksSeen.end());
}

TEST_CASE("Every tweak of the shipped catalogue parses") {
    const std::optional<std::vector<std::wstring>> groups = ListSettingsGroups(kCatalogue);
    REQUIRE(groups.has_value());
    REQUIRE_FALSE(groups->empty());
    for (const std::wstring& group : *groups) {
        CAPTURE(group);
        const std::vector<std::wstring> tweaks = ListGroupTweaks(kCatalogue, group);
        CHECK_FALSE(tweaks.empty());
        std::set<std::wstring> hiddenKeys;
        for (const std::wstring& name : tweaks) {
            CAPTURE(name);
            const Tweak tweak = ReadTweak(kCatalogue, group, name);
            REQUIRE(tweak.writtenAs.has_value());
            CheckValueTexts(tweak.first, *tweak.writtenAs);
            for (const wchar_t* suffix : {L" True1", L" False1", L" Type1"}) {
                hiddenKeys.insert(L"xxxxx" + name + suffix);
            }
            if (tweak.second) {
                CheckValueTexts(*tweak.second, *tweak.writtenAs);
                CHECK(tweak.second->location != tweak.first.location);
                for (const wchar_t* suffix : {L" Entry2", L"2", L" True2", L" False2"}) {
                    hiddenKeys.insert(L"xxxxx" + name + suffix);
                }
            }
        }
        // No entry is misspelt or left over: the hidden keys are exactly those of the tweaks.
        std::set<std::wstring> keysInFile;
        for (const ProfileEntry& entry : ReadSectionEntries({kCatalogue, group})) {
            if (entry.key.starts_with(L"xxxxx")) {
                keysInFile.insert(entry.key);
            }
        }
        CHECK(std::vector<std::wstring>(keysInFile.begin(), keysInFile.end()) ==
              std::vector<std::wstring>(hiddenKeys.begin(), hiddenKeys.end()));
    }
}

TEST_CASE("Every tweak of the shipped catalogue reads back as applied") {
    const std::optional<std::vector<std::wstring>> groups = ListSettingsGroups(kCatalogue);
    REQUIRE(groups.has_value());
    RegistrySnapshot snapshot;
    for (const std::wstring& group : *groups) {
        for (const std::wstring& name : ListGroupTweaks(kCatalogue, group)) {
            const Tweak tweak = ReadTweak(kCatalogue, group, name);
            snapshot.Save(tweak.first.location);
            if (tweak.second) {
                snapshot.Save(tweak.second->location);
            }
        }
    }
    for (const std::wstring& group : *groups) {
        CAPTURE(group);
        const std::vector<std::wstring> names = ListGroupTweaks(kCatalogue, group);
        // Every entry can be written: the report names any that cannot.
        CHECK(TweaksNotSetReport(ApplyTweakTicks(kCatalogue, group, AllTicked(names, true))) == L"");
        CHECK(RefreshTweakTicks(kCatalogue, group, AllTicked(names, false)) ==
              AllTicked(names, true));
        CHECK(TweaksNotSetReport(ApplyTweakTicks(kCatalogue, group, AllTicked(names, false))) == L"");
        CHECK(RefreshTweakTicks(kCatalogue, group, AllTicked(names, true)) ==
              AllTicked(names, false));
    }
    snapshot.Restore();
    snapshot.CheckRestored();
}
