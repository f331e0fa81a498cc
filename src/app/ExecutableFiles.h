#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/FolderEntries.h"

// Reading folders the way the drive, folder and file lists show them (with the rules of
// platform/FolderEntries, which the batch search shares); no window involved.

// A folder's executables and, from the same listing, which of them have a manifest beside them.
struct ExecutableListing {
    // The bare names of the folder's files whose long name really ends in ".exe" (any letter
    // case), hidden, system and read-only files included, folders excluded, in case-insensitive
    // name order.
    std::vector<std::wstring> names;
    // The folder's other files (folders are none), the manifests among them.
    FileNameSet otherFiles;

    // What the presence test answered for the manifest of the executable of that name, as the
    // folder stood when it was listed.
    bool HasManifest(const std::wstring& name) const;
};

// One pass over the folder. A folder that cannot be read lists nothing. A drive root may be
// written "C:\".
ExecutableListing ListExecutables(const std::wstring& directory);

// The names of the folder's subdirectories, hidden and system ones included, "." and ".."
// excluded, in case-insensitive name order; nothing when the folder cannot be read.
std::optional<std::vector<std::wstring>> ListSubdirectoryNames(const std::wstring& directory);

// The name the file system stores for the folder at `path` (its letter case, its long name);
// nothing when there is no folder there. `path` holds no wildcards and no trailing backslash;
// it may be of any length.
std::optional<std::wstring> StoredFolderName(const std::wstring& path);

// True when the folder's entries can be read (a drive root: the drive is ready).
bool CanReadFolder(const std::wstring& directory);
