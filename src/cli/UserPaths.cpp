#include "cli/UserPaths.h"

#include <windows.h>

#include "platform/LongPath.h"
#include "platform/TextFunctions.h"

namespace {

// "\\?\C:\..." and "\\?\UNC\server\share\..." in their plain form, which the history stores.
std::wstring WithoutLongPrefix(std::wstring_view path) {
    constexpr std::wstring_view kUnc = L"\\\\?\\UNC\\";
    constexpr std::wstring_view kLong = L"\\\\?\\";
    if (path.starts_with(kUnc)) return L"\\\\" + std::wstring(path.substr(kUnc.size()));
    if (path.starts_with(kLong)) return std::wstring(path.substr(kLong.size()));
    return std::wstring(path);
}

bool IsDriveRoot(const std::wstring& path) { return path.size() == 3 && path[1] == L':' && path[2] == L'\\'; }

}  // namespace

std::optional<std::wstring> FullUserPath(std::wstring_view typed) {
    if (typed.empty() || typed.find_first_of(L"*?") != std::wstring_view::npos) return std::nullopt;
    std::optional<std::wstring> full = FullPathName(WithoutLongPrefix(typed));
    if (!full || full->empty()) return std::nullopt;
    while (full->size() > 1 && full->back() == L'\\' && !IsDriveRoot(*full)) full->pop_back();
    return full;
}

PathKind KindOfPath(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(PathForFileCalls(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

bool HasProgramName(std::wstring_view path) {
    const size_t slash = path.find_last_of(L"\\/");
    return EndsWithIgnoringCase(slash == std::wstring_view::npos ? path : path.substr(slash + 1), L".exe");
}
