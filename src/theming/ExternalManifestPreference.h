#pragma once
#include <windows.h>

#include <string>

#include "platform/RegistryMod.h"

// The machine-wide value by which the side-by-side loader of Windows Vista and later takes the
// manifest file beside a program over the one the program carries: PreferExternalManifest, a
// REG_DWORD under HKEY_LOCAL_MACHINE (64-bit view), which only an administrator may change.
struct SideBySideKey {
    RegistryRoot root = 0x80000002;  // HKEY_LOCAL_MACHINE
    std::wstring path = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SideBySide";
};

inline constexpr wchar_t kPreferExternalManifest[] = L"PreferExternalManifest";

// The value is the number 1.
bool ExternalManifestsPreferred(const SideBySideKey& key = {});

// Sets the value to 1: the platform's result code, ERROR_SUCCESS when it is set.
LONG PreferExternalManifests(const SideBySideKey& key = {});
