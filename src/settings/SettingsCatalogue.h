#pragma once
// The tweak catalogue settings.db: a profile file whose sections are groups and whose keys are
// tweaks. The keys of a tweak's own entries start with "xxxxx" and are never listed as tweaks.
// Every call reads the file anew.
#include <optional>
#include <string>
#include <vector>

#include "settings/RegistryLocation.h"

// Group names in file order; nullopt when the catalogue cannot be read (missing file).
std::optional<std::vector<std::wstring>> ListSettingsGroups(const std::wstring& catalogue);

// Names of the group's tweaks in file order: every key whose first five characters are not
// exactly "xxxxx" (letter case counts). A missing group or file has none.
std::vector<std::wstring> ListGroupTweaks(const std::wstring& catalogue, const std::wstring& group);

// One registry value of a tweak and the texts it holds in the on and off states.
struct TweakValue {
    RegistryLocation location;
    std::wstring onText;
    std::wstring offText;
};

struct Tweak {
    // "String" or "Int" (exactly) for both values; anything else is never written.
    std::wstring type;
    TweakValue first;
    std::optional<TweakValue> second;  // when its " Entry2" entry is "true" in any case
};

// The tweak's entries as they stand in the group; missing ones read as empty texts.
Tweak ReadTweak(const std::wstring& catalogue, const std::wstring& group, const std::wstring& name);
