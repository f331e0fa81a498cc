#include "platform/LongPath.h"

#include <windows.h>

namespace {

// The plain form serves up to the longest folder the platform creates (MAX_PATH less room for an
// 8.3 name), so that a folder, a "\*" pattern in it and a file name of 12 all stay within reach.
constexpr size_t kLongestPlainPath = MAX_PATH - 13;

bool IsDrivePath(const std::wstring& path) {
    return path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
           ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

bool IsNetworkPath(const std::wstring& path) {
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' && path[2] != L'.';
}

}  // namespace

std::wstring PathForFileCalls(const std::wstring& path) {
    if (path.size() <= kLongestPlainPath) return path;
    if (IsDrivePath(path)) return L"\\\\?\\" + path;
    if (IsNetworkPath(path)) return L"\\\\?\\UNC\\" + path.substr(2);
    return path;
}

std::optional<std::wstring> FullPathName(const std::wstring& path) {
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return std::nullopt;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return std::nullopt;
    full.resize(length);
    return full;
}
