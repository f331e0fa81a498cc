#include "platform/FolderEntries.h"

#include <algorithm>
#include <cwchar>

#include "platform/LongPath.h"
#include "platform/QuietDriveErrors.h"

namespace {

bool IsDotEntry(const wchar_t* name) { return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0; }

}  // namespace

FolderEntries::FolderEntries(const std::wstring& directory) {
    // An empty text would read the current directory.
    if (directory.empty()) return;
    std::wstring pattern = PathForFileCalls(directory);
    if (pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    pattern += L'*';
    const QuietDriveErrors quiet;
    search_.reset(FindFirstFileW(pattern.c_str(), &entry_));
    if (search_.get() == INVALID_HANDLE_VALUE) {
        readable_ = GetLastError() == ERROR_FILE_NOT_FOUND;
        return;
    }
    readable_ = true;
    pending_ = true;
}

const WIN32_FIND_DATAW* FolderEntries::Next() {
    while (true) {
        if (!pending_) {
            if (search_.get() == nullptr || search_.get() == INVALID_HANDLE_VALUE ||
                !FindNextFileW(search_.get(), &entry_)) {
                return nullptr;
            }
        }
        pending_ = false;
        if (!IsDotEntry(entry_.cFileName)) return &entry_;
    }
}

bool IsFolder(const WIN32_FIND_DATAW& entry) { return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

bool IsFileEndingIn(const WIN32_FIND_DATAW& entry, std::wstring_view ending) {
    if (IsFolder(entry)) return false;
    const size_t length = std::wcslen(entry.cFileName);
    return length >= ending.size() &&
           _wcsnicmp(entry.cFileName + length - ending.size(), ending.data(), ending.size()) == 0;
}

void SortAsFolderList(std::vector<std::wstring>& names) {
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        const int order = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                                         b.c_str(), static_cast<int>(b.size()));
        if (order != CSTR_EQUAL) return order == CSTR_LESS_THAN;
        return a < b;
    });
}
