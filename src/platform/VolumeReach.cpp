#include "platform/VolumeReach.h"

#include <windows.h>

#include "platform/QuietDriveErrors.h"

namespace {

bool IsDriveLetter(wchar_t character) {
    return (character >= L'A' && character <= L'Z') || (character >= L'a' && character <= L'z');
}

}  // namespace

std::wstring VolumeRootOf(std::wstring_view path) {
    if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == L':') {
        return std::wstring(path.substr(0, 2)) + L"\\";
    }
    if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') {
        const size_t serverEnd = path.find(L'\\', 2);
        if (serverEnd == std::wstring_view::npos) return {};
        const size_t shareEnd = path.find(L'\\', serverEnd + 1);
        const std::wstring_view root = path.substr(0, shareEnd);
        if (root.size() <= serverEnd + 1) return {};
        return std::wstring(root) + L"\\";
    }
    return {};
}

bool IsVolumeReachable(std::wstring_view path) {
    const std::wstring root = VolumeRootOf(path);
    if (root.empty()) return false;
    const QuietDriveErrors quiet;
    return GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0) != FALSE;
}
