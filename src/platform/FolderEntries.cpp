#include "platform/FolderEntries.h"

#include <algorithm>
#include <cwchar>
#include <string_view>

#include "platform/LongPath.h"
#include "platform/QuietDriveErrors.h"
#include "platform/TextFunctions.h"

namespace {

bool IsDotEntry(const wchar_t* name) { return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0; }

constexpr std::wstring_view kCharactersNoNameHolds = L"\\/:*?\"<>|";

// Appends the bytes that order the name by the user's locale with letter case ignored.
void AppendSortKey(const std::wstring& name, std::vector<char>& keys) {
    constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int length = static_cast<int>(name.size());
    // The destination of a sort key is bytes, whatever the parameter's type says. The buffer holds
    // the key of any ordinary name; a longer one is asked for its size first.
    char key[1024];
    const int written = LCMapStringW(LOCALE_USER_DEFAULT, kFlags, name.c_str(), length, reinterpret_cast<LPWSTR>(key),
                                     static_cast<int>(sizeof key));
    if (written > 0) {
        keys.insert(keys.end(), key, key + written);
        return;
    }
    const int size = LCMapStringW(LOCALE_USER_DEFAULT, kFlags, name.c_str(), length, nullptr, 0);
    if (size <= 0) return;
    const size_t offset = keys.size();
    keys.resize(offset + static_cast<size_t>(size));
    LCMapStringW(LOCALE_USER_DEFAULT, kFlags, name.c_str(), length, reinterpret_cast<LPWSTR>(keys.data() + offset),
                 size);
}

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
        if (IsDotEntry(entry_.cFileName)) continue;
        if (IsUsableName(entry_.cFileName)) return &entry_;
        skipped_.push_back(entry_);
    }
}

bool IsFolder(const WIN32_FIND_DATAW& entry) { return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

bool IsUsableName(std::wstring_view name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    return std::none_of(name.begin(), name.end(), [](wchar_t character) {
        return character < 0x20 || kCharactersNoNameHolds.find(character) != std::wstring_view::npos;
    });
}

void FileNameSet::Add(const WIN32_FIND_DATAW& entry) {
    if (!IsFolder(entry)) upperCased_.insert(UpperCase(entry.cFileName));
}

bool FileNameSet::Contains(std::wstring_view name) const {
    // Nothing to match (a folder without manifests, say): no name needs folding.
    return !upperCased_.empty() && upperCased_.count(UpperCase(name)) > 0;
}

bool IsFileEndingIn(const WIN32_FIND_DATAW& entry, std::wstring_view ending) {
    if (IsFolder(entry)) return false;
    const size_t length = std::wcslen(entry.cFileName);
    return length >= ending.size() &&
           _wcsnicmp(entry.cFileName + length - ending.size(), ending.data(), ending.size()) == 0;
}

void SortAsFolderList(std::vector<std::wstring>& names) {
    // Sort keys order names as CompareString does; made once per name, they spare a large folder
    // a locale comparison at every step of the sort.
    struct Keyed {
        size_t offset;
        size_t size;
        size_t index;
    };
    std::vector<char> keys;
    std::vector<Keyed> order;
    order.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        const size_t offset = keys.size();
        AppendSortKey(names[i], keys);
        order.push_back({offset, keys.size() - offset, i});
    }
    const auto keyOf = [&keys](const Keyed& keyed) { return std::string_view(keys.data() + keyed.offset, keyed.size); };
    std::sort(order.begin(), order.end(), [&](const Keyed& a, const Keyed& b) {
        const int byKey = keyOf(a).compare(keyOf(b));
        if (byKey != 0) return byKey < 0;
        return names[a.index] < names[b.index];
    });
    std::vector<std::wstring> sorted;
    sorted.reserve(names.size());
    for (const Keyed& keyed : order) sorted.push_back(std::move(names[keyed.index]));
    names = std::move(sorted);
}
