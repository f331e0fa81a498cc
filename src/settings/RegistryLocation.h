#pragma once
#include <string>
#include <string_view>

// Where a tweak's value lives, as the catalogue writes it: "root,path,value name,fallback".
struct RegistryLocation {
    std::wstring rootName;   // e.g. "HKEY_CURRENT_USER"
    std::wstring path;       // key path below the root
    std::wstring valueName;  // empty: the key's default value
    // Read in place of a value stored with a type other than string or 32-bit number.
    std::wstring fallback;
    bool operator==(const RegistryLocation&) const = default;
};

// Splits at the first three commas, each field trimmed of blanks; the fallback is the rest,
// commas included. A missing comma leaves the field before it empty and passes the whole rest on,
// so "root,path,name" (no third comma) names the key's default value with "name" as fallback.
RegistryLocation SplitRegistryLocation(std::wstring_view location);

// The value's place as a person reads it: "root\path\value name", "(default)" for the key's
// default value.
std::wstring RegistryPlaceText(const RegistryLocation& location);
