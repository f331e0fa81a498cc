#pragma once
// Single registry values: string (REG_SZ) and 32-bit number (REG_DWORD) values read and written
// by root name, key path and value name. Every call opens and closes its own key. Both builds
// work in the 64-bit view of the registry on 64-bit Windows, so that the 32-bit build changes
// the values the system itself reads rather than their Wow6432Node copies.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "platform/UniqueHandle.h"

// One of the seven predefined root keys by its number (0x80000000 to 0x80000006), or 0.
using RegistryRoot = std::uint32_t;

// What a read gives for a value that is missing, unreadable or blank.
inline constexpr std::wstring_view kAbsentRegistryValue = L"xxxxx";

// A text, or a 32-bit number read from a REG_DWORD.
using RegistryValue = std::variant<std::wstring, std::int32_t>;

// The value as callers compare it: a number as its signed decimal digits (0xFFFFFFFF is "-1").
std::wstring RegistryValueText(const RegistryValue& value);

// The root key of a full name such as "HKEY_CURRENT_USER", letter case ignored; 0 for anything
// else, abbreviations such as "HKCU" included.
RegistryRoot RootKeyFromName(std::wstring_view name);

// The platform's handle of the root key; nullptr for anything but the seven roots.
HKEY RegistryRootHandle(RegistryRoot root);

// The value as stored: a REG_SZ as its text up to the first NUL, a REG_DWORD of exactly four
// bytes as its signed number; any other type gives defaultValue. kAbsentRegistryValue replaces
// a missing key or value, an unknown root, and a result that is empty or all blanks.
RegistryValue QueryRegistryValue(RegistryRoot root, const std::wstring& path,
                                 const std::wstring& name, const std::wstring& defaultValue);

// Writes a REG_SZ (in the standard form: the terminating NUL stored and counted) or a REG_DWORD,
// creating the missing keys along the path. The platform's result code: 0 on success.
LONG SetRegistryString(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                       const std::wstring& text);
LONG SetRegistryNumber(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                       std::int32_t number);

// An open registry key, closed however the scope is left.
struct RegistryKeyTraits {
    static bool IsNone(HKEY key) { return key == nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};
using UniqueRegistryKey = UniqueResource<HKEY, RegistryKeyTraits>;
