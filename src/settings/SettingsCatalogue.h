#pragma once
// The tweak catalogue settings.db: a profile file whose sections are groups and whose keys are
// tweaks. The keys of a tweak's own entries start with "xxxxx" and are never listed as tweaks.
// Every call reads the file anew, one group in one pass.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/IniEditor.h"
#include "settings/RegistryLocation.h"

// Group names in file order; nullopt when the catalogue cannot be read (missing file).
std::optional<std::vector<std::wstring>> ListSettingsGroups(const std::wstring& catalogue);

// Names of the group's tweaks in file order: every key whose first five characters are not
// exactly "xxxxx" (letter case counts). A missing group or file has none.
std::vector<std::wstring> ListGroupTweaks(const std::wstring& catalogue, const std::wstring& group);

// The key of one of a tweak's own entries: "xxxxx", the name and the suffix (" Type1", " True1",
// "2", ...).
std::wstring HiddenKey(const std::wstring& name, std::wstring_view suffix);

// How a tweak's values are written to the registry. A new type is added here and to
// ParseTweakType; the build then fails at the switch that writes the values until it is handled.
enum class TweakType {
    String,  // REG_SZ
    Int,     // REG_DWORD
};

// The type a " Type1" text names, exactly ("String", "Int"; letter case counts); nothing for any
// other text.
std::optional<TweakType> ParseTweakType(std::wstring_view text);

// One registry value of a tweak and the texts it holds in the on and off states.
struct TweakValue {
    RegistryLocation location;
    std::wstring onText;
    std::wstring offText;
};

struct Tweak {
    std::optional<TweakType> writtenAs;  // what its " Type1" entry names, for both values; none: never written
    TweakValue first;
    std::optional<TweakValue> second;  // when its " Entry2" entry is "true" in any case
};

// One group of the catalogue, read in one pass with its values whole (a location of any length
// names exactly the place it says). Its entries are found as the platform's per-key reads find
// them: letter case ignored, the first line of a key counting.
class CatalogueGroup {
public:
    static CatalogueGroup Read(const std::wstring& catalogue, const std::wstring& group);

    // See ListGroupTweaks.
    std::vector<std::wstring> TweakNames() const;
    // The tweak's entries as they stand in the group; missing ones read as empty texts.
    Tweak TweakNamed(const std::wstring& name) const;

private:
    std::wstring Value(const std::wstring& key, const std::wstring& defaultValue) const;
    TweakValue ValueEntries(const std::wstring& locationKey, const std::wstring& onKey,
                            const std::wstring& offKey) const;

    std::vector<ProfileEntry> rows_;
    std::unordered_map<std::wstring, size_t> firstRowOfKey_;  // by the upper-cased key
};

// CatalogueGroup::TweakNamed of a freshly read group.
Tweak ReadTweak(const std::wstring& catalogue, const std::wstring& group, const std::wstring& name);
