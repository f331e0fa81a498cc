#pragma once
// What applying a tweak came to: written, or not, and why, value by value.
#include <windows.h>

#include <string>
#include <vector>

#include "settings/RegistryLocation.h"

// What became of one registry value of a tweak.
enum class TweakValueResult {
    Written,
    UnknownRoot,       // its location names none of the seven root keys
    NumberOutOfRange,  // an Int text whose number a REG_DWORD cannot hold
    Refused,           // the registry refused the write
};

struct TweakValueStatus {
    TweakValueResult result = TweakValueResult::Written;
    RegistryLocation location;
    std::wstring text;                  // the on or off text it was to hold
    DWORD platformError = ERROR_SUCCESS;  // the registry's error when it refused
    bool operator==(const TweakValueStatus&) const = default;
};

struct TweakStatus {
    bool on = false;         // the state it was to be set to
    bool typeKnown = true;   // false: its Type1 entry names no type, and nothing was tried
    // Its first value, then its second when it has one; empty when the type is not known.
    std::vector<TweakValueStatus> values;
    bool operator==(const TweakStatus&) const = default;

    bool Written() const;
    // Some of its values were written and some not.
    bool WrittenInPart() const;
};

// A listed tweak by name, with what applying it came to.
struct AppliedTweak {
    std::wstring name;
    TweakStatus status;
    bool operator==(const AppliedTweak&) const = default;
};
