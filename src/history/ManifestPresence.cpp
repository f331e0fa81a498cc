#include "history/ManifestPresence.h"

#include <windows.h>

#include <optional>
#include <unordered_map>

#include "manifest/ManifestFile.h"
#include "platform/FolderEntries.h"
#include "platform/TextFunctions.h"

namespace {

// From this many manifests in one folder on, listing the folder is cheaper than asking per name.
constexpr size_t kListFolderFrom = 4;

struct SplitPath {
    std::wstring folder;
    std::wstring name;
};

SplitPath Split(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {L"", path};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

// The folder's files; nothing when the folder cannot be listed, so that its manifests are asked
// for one by one.
std::optional<FileNameSet> FileNamesIn(const std::wstring& folder) {
    FolderEntries entries(folder);
    if (!entries.Readable()) return std::nullopt;
    FileNameSet names;
    while (const WIN32_FIND_DATAW* entry = entries.Next()) names.Add(*entry);
    return names;
}

}  // namespace

std::vector<bool> PresentManifests(const std::vector<std::wstring>& manifestPaths) {
    std::unordered_map<std::wstring, size_t> perFolder;
    std::vector<SplitPath> split;
    split.reserve(manifestPaths.size());
    for (const std::wstring& path : manifestPaths) {
        split.push_back(Split(path));
        ++perFolder[UpperCase(split.back().folder)];
    }
    std::unordered_map<std::wstring, std::optional<FileNameSet>> listed;
    std::vector<bool> present(manifestPaths.size());
    for (size_t i = 0; i < manifestPaths.size(); ++i) {
        const std::wstring folderKey = UpperCase(split[i].folder);
        if (split[i].folder.empty() || perFolder[folderKey] < kListFolderFrom) {
            present[i] = IsManifestPresent(manifestPaths[i]);
            continue;
        }
        auto names = listed.find(folderKey);
        if (names == listed.end()) names = listed.emplace(folderKey, FileNamesIn(split[i].folder)).first;
        present[i] = names->second ? names->second->Contains(split[i].name) : IsManifestPresent(manifestPaths[i]);
    }
    return present;
}
