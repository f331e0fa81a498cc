#include "app/ExecutableFiles.h"

#include "platform/FolderEntries.h"
#include "platform/LongPath.h"
#include "platform/QuietDriveErrors.h"

std::vector<std::wstring> ListExecutableNames(const std::wstring& directory) {
    std::vector<std::wstring> names;
    FolderEntries entries(directory);
    while (const WIN32_FIND_DATAW* entry = entries.Next()) {
        if (IsFileEndingIn(*entry, L".exe")) names.emplace_back(entry->cFileName);
    }
    SortAsFolderList(names);
    return names;
}

std::optional<std::vector<std::wstring>> ListSubdirectoryNames(const std::wstring& directory) {
    FolderEntries entries(directory);
    if (!entries.Readable()) return std::nullopt;
    std::vector<std::wstring> names;
    while (const WIN32_FIND_DATAW* entry = entries.Next()) {
        if (IsFolder(*entry)) names.emplace_back(entry->cFileName);
    }
    SortAsFolderList(names);
    return names;
}

bool CanReadFolder(const std::wstring& directory) { return FolderEntries(directory).Readable(); }

std::optional<std::wstring> StoredFolderName(const std::wstring& path) {
    const QuietDriveErrors quiet;
    WIN32_FIND_DATAW entry{};
    const FindHandle found(FindFirstFileW(PathForFileCalls(path).c_str(), &entry));
    if (found.get() == INVALID_HANDLE_VALUE || !IsFolder(entry)) return std::nullopt;
    return std::wstring(entry.cFileName);
}
