#include "platform/PathLinks.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "platform/FolderEntries.h"
#include "platform/LongPath.h"
#include "platform/TextFunctions.h"
#include "platform/UniqueHandle.h"

namespace {

using FinalPathFunction = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);

// From Vista on. Windows XP has no links to files, and its junctions carry the reparse mark.
FinalPathFunction SystemFinalPathFunction() {
    static const auto function = reinterpret_cast<FinalPathFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
    return function;
}

// Where the platform really finds the item, every link on the way followed ("\\?\C:\..."); nothing
// when it cannot tell.
std::optional<std::wstring> FinalPathOf(const std::wstring& path) {
    const FinalPathFunction finalPath = SystemFinalPathFunction();
    if (finalPath == nullptr) return std::nullopt;
    // No access asked: opening only to learn where it leads.
    const UniqueHandle item(CreateFileW(PathForFileCalls(path).c_str(), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!item) return std::nullopt;
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        // 0: the normalized name on its drive letter.
        const DWORD length = finalPath(item.get(), buffer.data(), static_cast<DWORD>(buffer.size()), 0);
        if (length == 0) return std::nullopt;
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(length);
    }
}

std::wstring Joined(const std::wstring& folder, const std::wstring& name) {
    return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

// The root of a full path ("C:\" or "\\server\share\") and the names below it; no root for any
// other form.
struct RootedPath {
    std::wstring root;
    std::vector<std::wstring> names;
};

RootedPath SplitAtRoot(const std::wstring& fullPath) {
    RootedPath split;
    size_t rest = 0;
    if (fullPath.size() >= 3 && fullPath[1] == L':' && fullPath[2] == L'\\') {
        rest = 3;
    } else if (fullPath.starts_with(L"\\\\") && !fullPath.starts_with(L"\\\\?\\") &&
               !fullPath.starts_with(L"\\\\.\\")) {
        const size_t serverEnd = fullPath.find(L'\\', 2);
        const size_t shareEnd = serverEnd == std::wstring::npos ? serverEnd : fullPath.find(L'\\', serverEnd + 1);
        if (shareEnd == std::wstring::npos) return split;
        rest = shareEnd + 1;
    } else {
        return split;
    }
    split.root = fullPath.substr(0, rest);
    while (rest < fullPath.size()) {
        size_t end = fullPath.find(L'\\', rest);
        if (end == std::wstring::npos) end = fullPath.size();
        if (end > rest) split.names.push_back(fullPath.substr(rest, end - rest));
        rest = end + 1;
    }
    return split;
}

// One step down a path: the item at `path`, in the folder whose final path is `folderFinal`.
struct Step {
    bool exists = false;
    bool link = false;
    std::optional<std::wstring> final;  // where the item really is, when that could be told
};

Step StepTo(const std::wstring& path, const std::optional<std::wstring>& folderFinal) {
    WIN32_FIND_DATAW entry{};
    const FindHandle found(FindFirstFileW(PathForFileCalls(path).c_str(), &entry));
    if (found.get() == INVALID_HANDLE_VALUE) return {};
    Step step{true, (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0, FinalPathOf(path)};
    // The stored long name: a path may name the item by its short one.
    if (!step.link && folderFinal && step.final) {
        step.link = !SameTextIgnoringCase(*step.final, Joined(*folderFinal, entry.cFileName));
    }
    return step;
}

// The full path without a trailing backslash, except at a drive root.
std::optional<std::wstring> FullPathOf(const std::wstring& path) {
    std::optional<std::wstring> full = FullPathName(path);
    if (full && full->size() > 3 && full->back() == L'\\') full->pop_back();
    return full;
}

std::wstring FolderOf(const std::wstring& fullPath) {
    const size_t separator = fullPath.find_last_of(L'\\');
    if (separator == std::wstring::npos) return {};
    // A drive root keeps its backslash.
    return fullPath.substr(0, separator == 2 && fullPath[1] == L':' ? separator + 1 : separator);
}

}  // namespace

bool IsLinkOrJunction(const std::wstring& path) {
    const std::optional<std::wstring> full = FullPathOf(path);
    if (!full) return false;
    const std::wstring folder = FolderOf(*full);
    return StepTo(*full, folder.empty() ? std::nullopt : FinalPathOf(folder)).link;
}

bool PassesThroughLink(const std::wstring& path) {
    const std::optional<std::wstring> full = FullPathOf(path);
    if (!full) return false;
    const RootedPath split = SplitAtRoot(*full);
    if (split.root.empty()) return false;
    std::wstring current = split.root;
    std::optional<std::wstring> currentFinal = FinalPathOf(current);
    for (const std::wstring& name : split.names) {
        current = Joined(current, name);
        const Step step = StepTo(current, currentFinal);
        if (!step.exists) return false;
        if (step.link) return true;
        currentFinal = step.final;
    }
    return false;
}

bool HasOtherNames(const std::wstring& path) {
    const UniqueHandle file(CreateFileW(PathForFileCalls(path).c_str(), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file || !GetFileInformationByHandle(file.get(), &information)) return false;
    // A folder counts its subfolders' links to it.
    return !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && information.nNumberOfLinks > 1;
}
