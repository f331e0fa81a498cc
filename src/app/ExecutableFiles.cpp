#include "app/ExecutableFiles.h"

#include <algorithm>
#include <cwchar>
#include <functional>
#include <memory>
#include <type_traits>

#include "platform/QuietDriveErrors.h"

namespace {

struct FindCloser {
    void operator()(HANDLE search) const {
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
    }
};
using FindHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, FindCloser>;

std::wstring PatternIn(const std::wstring& directory, const wchar_t* pattern) {
    std::wstring path = directory;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
    return path + pattern;
}

// Calls `visit` for every entry matching `pattern`; false when the folder cannot be read. A
// folder without any matching entry (even an empty drive root, which lacks "." and "..") reads
// fine.
bool ForEachEntry(const std::wstring& directory, const wchar_t* pattern,
                  const std::function<void(const WIN32_FIND_DATAW&)>& visit) {
    // An empty text would search the current directory.
    if (directory.empty()) return false;
    const QuietDriveErrors quiet;
    WIN32_FIND_DATAW entry{};
    const FindHandle search(FindFirstFileW(PatternIn(directory, pattern).c_str(), &entry));
    if (search.get() == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        visit(entry);
    } while (FindNextFileW(search.get(), &entry));
    return true;
}

bool IsFolder(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsDotEntry(const wchar_t* name) {
    return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
}

// The pattern also matches through 8.3 short names ("a.exec" has "A~1.EXE"), so the long name
// decides.
bool HasExeEnding(const wchar_t* name) {
    const size_t length = std::wcslen(name);
    constexpr size_t kEndingLength = 4;
    return length >= kEndingLength && _wcsicmp(name + length - kEndingLength, L".exe") == 0;
}

// The order a sorted list shows: by the user's locale with letter case ignored; names that
// compare equal there keep a fixed order.
void SortForDisplay(std::vector<std::wstring>& names) {
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        const int order = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                                         static_cast<int>(a.size()), b.c_str(),
                                         static_cast<int>(b.size()));
        if (order != CSTR_EQUAL) return order == CSTR_LESS_THAN;
        return a < b;
    });
}

}  // namespace

std::vector<std::wstring> ListExecutableNames(const std::wstring& directory) {
    std::vector<std::wstring> names;
    ForEachEntry(directory, L"*.exe", [&names](const WIN32_FIND_DATAW& entry) {
        if (!IsFolder(entry) && HasExeEnding(entry.cFileName)) names.emplace_back(entry.cFileName);
    });
    SortForDisplay(names);
    return names;
}

std::optional<std::vector<std::wstring>> ListSubdirectoryNames(const std::wstring& directory) {
    std::vector<std::wstring> names;
    const bool read = ForEachEntry(directory, L"*", [&names](const WIN32_FIND_DATAW& entry) {
        if (IsFolder(entry) && !IsDotEntry(entry.cFileName)) names.emplace_back(entry.cFileName);
    });
    if (!read) return std::nullopt;
    SortForDisplay(names);
    return names;
}

bool CanReadFolder(const std::wstring& directory) {
    return ForEachEntry(directory, L"*", [](const WIN32_FIND_DATAW&) {});
}

std::optional<std::wstring> StoredFolderName(const std::wstring& path) {
    const QuietDriveErrors quiet;
    WIN32_FIND_DATAW entry{};
    const FindHandle found(FindFirstFileW(path.c_str(), &entry));
    if (found.get() == INVALID_HANDLE_VALUE || !IsFolder(entry)) return std::nullopt;
    return std::wstring(entry.cFileName);
}
