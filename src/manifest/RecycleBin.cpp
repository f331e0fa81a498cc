#include "manifest/RecycleBin.h"

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <vector>

#include "platform/RegistryMod.h"

namespace {

// A DWORD setting; nothing when it is missing or of another type.
std::optional<DWORD> ReadSetting(HKEY root, const wchar_t* path, const wchar_t* name) {
    // The settings the shell itself reads, also from the 32-bit build on 64-bit Windows.
    UniqueRegistryKey key;
    if (RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.receive()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    const LONG read = RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (read != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return std::nullopt;
    return value;
}

bool IsSet(HKEY root, const std::wstring& path, const wchar_t* name) {
    return ReadSetting(root, path.c_str(), name).value_or(0) != 0;
}

constexpr wchar_t kBitBucket[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket";
constexpr wchar_t kExplorerPolicies[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

// Whether the user, a policy or the drive's own setting says "delete at once, keep nothing".
bool RecycleBinSwitchedOff(const std::wstring& root) {
    if (IsSet(HKEY_CURRENT_USER, kExplorerPolicies, L"NoRecycleFiles") ||
        IsSet(HKEY_LOCAL_MACHINE, kExplorerPolicies, L"NoRecycleFiles")) {
        return true;
    }
    // Per volume, since Vista.
    const std::wstring volume = VolumeNameOf(root);
    const size_t open = volume.find(L'{');
    const size_t close = volume.find(L'}');
    if (open != std::wstring::npos && close != std::wstring::npos &&
        IsSet(HKEY_CURRENT_USER, std::wstring(kBitBucket) + L"\\Volume\\" + volume.substr(open, close - open + 1),
              L"NukeOnDelete")) {
        return true;
    }
    // Windows XP: one setting for all drives, or one per drive letter.
    const std::optional<DWORD> global = ReadSetting(HKEY_LOCAL_MACHINE, kBitBucket, L"UseGlobalSettings");
    if (global.value_or(1) != 0) return IsSet(HKEY_LOCAL_MACHINE, kBitBucket, L"NukeOnDelete");
    return IsSet(HKEY_LOCAL_MACHINE, std::wstring(kBitBucket) + L"\\" + root.substr(0, 1), L"NukeOnDelete");
}

}  // namespace

// SUBST and DefineDosDevice drives name a DOS path ("\??\C:\folder") where a volume names its
// device; they report themselves fixed but keep no bin of their own.
bool HasVolumeOfItsOwn(wchar_t driveLetter) {
    const wchar_t drive[] = {driveLetter, L':', L'\0'};
    std::vector<wchar_t> target(4096, L'\0');
    if (!QueryDosDeviceW(drive, target.data(), static_cast<DWORD>(target.size()))) return false;
    return std::wstring(target.data()).rfind(L"\\??\\", 0) != 0;
}

std::wstring VolumeNameOf(const std::wstring& root) {
    wchar_t volume[MAX_PATH] = {};
    return GetVolumeNameForVolumeMountPointW(root.c_str(), volume, MAX_PATH) ? std::wstring(volume) : std::wstring();
}

bool HasConfirmedRecycleBin(const std::wstring& fullPath) {
    std::vector<wchar_t> rootBuffer(fullPath.size() + 2, L'\0');
    if (!GetVolumePathNameW(fullPath.c_str(), rootBuffer.data(), static_cast<DWORD>(rootBuffer.size()))) {
        return false;
    }
    const std::wstring root(rootBuffer.data());
    // Local drive letters only: shares and mounted folders have no bin the shell would use.
    if (root.size() != 3 || root[1] != L':' || root[2] != L'\\') return false;
    if (GetDriveTypeW(root.c_str()) != DRIVE_FIXED || !HasVolumeOfItsOwn(root[0])) return false;
    SHQUERYRBINFO bin{};
    bin.cbSize = sizeof(bin);
    if (FAILED(SHQueryRecycleBinW(root.c_str(), &bin))) return false;
    return !RecycleBinSwitchedOff(root);
}

bool SendToRecycleBin(const std::wstring& fullPath) {
    std::wstring from = fullPath;
    from.push_back(L'\0');  // the list of paths ends with an empty one
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted &&
           GetFileAttributesW(fullPath.c_str()) == INVALID_FILE_ATTRIBUTES;
}
