#pragma once
// Refreshing and applying the tweaks of one catalogue group: a tick means the tweak is on. These
// are the whole work behind the Settings panel's lists and buttons; the catalogue's group is read
// anew at every call, in one pass.
#include <string>
#include <vector>

#include "settings/SettingsCatalogue.h"
#include "settings/TweakStatus.h"

struct TweakTick {
    std::wstring name;
    bool ticked = false;
    bool operator==(const TweakTick&) const = default;
};

// The tick the registry gives the tweak, letter case ignored in every comparison:
// a single-value tweak is cleared when its value reads as the off text, then ticked when it reads
// as the on text, and otherwise keeps the given tick; a two-value tweak is ticked exactly when
// both values read as their on texts. A missing or blank value reads as "xxxxx".
bool RefreshedTick(const Tweak& tweak, bool tick);

// Writes the on texts of a ticked tweak, the off texts of a cleared one, at its one or two
// locations, as its TweakType says: REG_SZ for String, REG_DWORD for Int, and tells what came of
// each. A tweak of no known type writes nothing; a value whose root is unknown or whose Int text
// lies outside the signed 32-bit range is not written, and the other value still is.
TweakStatus ApplyTweak(const Tweak& tweak, bool ticked);

// What ApplyTweak would tell if the registry took every write: the faults of the catalogue entry
// itself, found without writing anything.
TweakStatus CheckTweak(const Tweak& tweak, bool ticked);

// The listed tweaks of the group with the ticks RefreshedTick gives them, in the same order.
std::vector<TweakTick> RefreshTweakTicks(const std::wstring& catalogue, const std::wstring& group,
                                         std::vector<TweakTick> tweaks);

// ApplyTweak for every listed tweak of the group, ticked and cleared alike, in the same order.
std::vector<AppliedTweak> ApplyTweakTicks(const std::wstring& catalogue, const std::wstring& group,
                                          const std::vector<TweakTick>& tweaks);
