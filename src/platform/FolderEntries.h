#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_set>
#include <vector>

// Reading folders the way the program's lists and its search do; no window involved.

struct FindCloser {
    void operator()(HANDLE search) const {
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
    }
};
// A search of FindFirstFile, closed however the scope is left.
using FindHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, FindCloser>;

// The entries of one folder, one at a time: every file, whatever its read-only, hidden, system
// or archive attributes, and every subfolder, "." and ".." left out. A drive root may be written
// "C:\"; paths of any length are read.
// A name no Windows file can bear (see IsUsableName) is never handed out: joined to the folder
// it would name something else, elsewhere. Such entries are kept aside in Skipped().
class FolderEntries {
public:
    explicit FolderEntries(const std::wstring& directory);
    FolderEntries(const FolderEntries&) = delete;
    FolderEntries& operator=(const FolderEntries&) = delete;

    // False when the folder cannot be read: missing, no folder, access denied, drive not ready.
    // A folder without entries (even an empty drive root, which lacks "." and "..") reads fine.
    bool Readable() const { return readable_; }
    // The next entry; null after the last one.
    const WIN32_FIND_DATAW* Next();
    // The entries left out so far for their names.
    const std::vector<WIN32_FIND_DATAW>& Skipped() const { return skipped_; }

private:
    WIN32_FIND_DATAW entry_{};
    std::vector<WIN32_FIND_DATAW> skipped_;
    FindHandle search_;
    bool readable_ = false;
    bool pending_ = false;  // entry_ holds a result not handed out yet
};

bool IsFolder(const WIN32_FIND_DATAW& entry);

// Whether a listed name can be joined to its folder as one part of a path: not empty, not "." or
// "..", and free of the characters Windows never allows in a name (\ / : * ? " < > | and control
// characters). Wine lists Linux names as they are, "..\x.exe" or "a:b" among them.
bool IsUsableName(std::wstring_view name);

// The names of a folder's files, matched as the file system matches a name: letter case ignored.
// Filled from one listing, it tells for any number of names what asking for each path would,
// where asking costs a search of the whole folder for every name that is missing.
class FileNameSet {
public:
    // A folder is left out: it is no file of that name.
    void Add(const WIN32_FIND_DATAW& entry);
    bool Contains(std::wstring_view name) const;

private:
    std::unordered_set<std::wstring> upperCased_;
};

// A file (never a folder) whose long name ends in `ending`, letter case ignored: what the
// platform's pattern "*" + ending finds once the 8.3 names it also matches ("a.exec" has
// "A~1.EXE") are left aside.
bool IsFileEndingIn(const WIN32_FIND_DATAW& entry, std::wstring_view ending);

// The order the folder list shows: by the user's locale with letter case ignored; names that
// compare equal there keep a fixed order.
void SortAsFolderList(std::vector<std::wstring>& names);
