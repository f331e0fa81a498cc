#include "app/ExecutableFiles.h"

#include "manifest/ManifestFile.h"
#include "platform/LongPath.h"
#include "platform/QuietDriveErrors.h"

bool ExecutableListing::HasManifest(const std::wstring& name) const {
    return otherFiles.Contains(ManifestPathFor(name));
}

ExecutableListing ListExecutables(const std::wstring& directory) {
    ExecutableListing listing;
    FolderEntries entries(directory);
    while (const WIN32_FIND_DATAW* entry = entries.Next()) {
        if (IsFileEndingIn(*entry, L".exe")) {
            listing.names.emplace_back(entry->cFileName);
        } else {
            listing.otherFiles.Add(*entry);
        }
    }
    SortAsFolderList(listing.names);
    return listing;
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
