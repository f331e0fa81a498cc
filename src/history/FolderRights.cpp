#include "history/FolderRights.h"

#include <windows.h>

#include <string>
#include <vector>

#include "platform/LongPath.h"
#include "platform/UniqueHandle.h"

namespace {

bool CanMakeFileIn(const std::wstring& folder) {
    const std::wstring probe =
        folder + L"\\~xpvestrim-write-test-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    const UniqueHandle file(CreateFileW(PathForFileCalls(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                        nullptr));
    return static_cast<bool>(file);
}

// The unelevated token of the same user, when this process runs elevated by consent; none before
// Vista, without UAC, or for an account that is elevated by itself.
UniqueHandle UnelevatedTokenOfThisUser() {
    UniqueHandle process;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, process.receive())) return {};
    TOKEN_ELEVATION_TYPE type{};
    DWORD length = 0;
    if (!GetTokenInformation(process.get(), TokenElevationType, &type, sizeof type, &length) ||
        type != TokenElevationTypeFull) {
        return {};
    }
    TOKEN_LINKED_TOKEN linked{};
    if (!GetTokenInformation(process.get(), TokenLinkedToken, &linked, sizeof linked, &length)) return {};
    return UniqueHandle(linked.LinkedToken);
}

// Whether the folder's rights let the token add a file. True when the rights cannot be read: the
// file made a moment ago is then the better answer.
bool RightsAllowNewFile(const std::wstring& folder, HANDLE token) {
    const std::wstring path = PathForFileCalls(folder);
    constexpr SECURITY_INFORMATION kParts = OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION |
                                            DACL_SECURITY_INFORMATION;
    DWORD needed = 0;
    GetFileSecurityW(path.c_str(), kParts, nullptr, 0, &needed);
    if (needed == 0) return true;
    std::vector<unsigned char> descriptor(needed);
    if (!GetFileSecurityW(path.c_str(), kParts, descriptor.data(), needed, &needed)) return true;

    GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    DWORD wanted = FILE_ADD_FILE;
    MapGenericMask(&wanted, &mapping);
    PRIVILEGE_SET privileges{};
    DWORD privilegesLength = sizeof privileges;
    DWORD granted = 0;
    BOOL allowed = FALSE;
    if (!AccessCheck(descriptor.data(), token, wanted, &mapping, &privileges, &privilegesLength, &granted,
                     &allowed)) {
        return true;
    }
    return allowed != FALSE;
}

}  // namespace

bool UserCanWriteFolder(const std::wstring& folder) {
    if (!CanMakeFileIn(folder)) return false;
    const UniqueHandle unelevated = UnelevatedTokenOfThisUser();
    return !unelevated || RightsAllowNewFile(folder, unelevated.get());
}
