#include "support/TempFolder.h"

#include <algorithm>
#include <memory>

#include "platform/UniqueHandle.h"
#include "support/doctest_wide.h"

namespace xpv_test {

TempFolder::TempFolder(std::wstring_view tag) {
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    bool created = false;
    // Only a name already taken is worth another try.
    do {
        path_ = std::wstring(base) + std::wstring(tag) + L"-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter);
        created = CreateDirectoryW(path_.c_str(), nullptr) != FALSE;
    } while (!created && GetLastError() == ERROR_ALREADY_EXISTS);
    REQUIRE(created);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

namespace {

void AddAttributes(const std::wstring& path, DWORD attributes) {
    if (attributes == 0) return;
    const DWORD current = GetFileAttributesW(path.c_str());
    REQUIRE(SetFileAttributesW(path.c_str(), current | attributes));
    REQUIRE((GetFileAttributesW(path.c_str()) & attributes) == attributes);
}

}  // namespace

std::wstring TempFolder::AddFolder(std::wstring_view relative, DWORD attributes) const {
    const std::wstring path = *this / relative;
    REQUIRE(CreateDirectoryW(path.c_str(), nullptr));
    AddAttributes(path, attributes);
    return path;
}

std::wstring TempFolder::AddFile(std::wstring_view relative, DWORD attributes) const {
    const std::wstring path = *this / relative;
    {
        const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        REQUIRE(file);
    }
    AddAttributes(path, attributes);
    return path;
}

DeepFolder::DeepFolder(const TempFolder& folder) : top_(folder / L"deep") {
    path_ = top_;
    REQUIRE(CreateDirectoryW(LongForm(path_).c_str(), nullptr));
    for (wchar_t letter : {L'a', L'b', L'c', L'd'}) {
        path_ += L"\\" + std::wstring(70, letter);
        REQUIRE(CreateDirectoryW(LongForm(path_).c_str(), nullptr));
    }
    REQUIRE(path_.size() > MAX_PATH);
}

DeepFolder::~DeepFolder() { RemoveTree(LongForm(top_)); }

void RemoveTree(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

bool WriteBytes(const std::wstring& path, std::string_view bytes) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::string ReadBytes(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!file) return {};
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return {};
    bytes.resize(read);
    return bytes;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CopyInto(const std::wstring& source, const std::wstring& target) {
    return CopyFileW(source.c_str(), target.c_str(), FALSE) != 0;
}

bool AnyFileMatches(const std::wstring& pattern) {
    WIN32_FIND_DATAW found;
    const HANDLE first = FindFirstFileW(pattern.c_str(), &found);
    if (first == INVALID_HANDLE_VALUE) return false;
    FindClose(first);
    return true;
}

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE first = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (first == INVALID_HANDLE_VALUE) return names;
    const std::unique_ptr<void, decltype(&FindClose)> search(first, &FindClose);
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search.get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring CopyOfSelf(const TempFolder& folder, std::wstring_view name) {
    wchar_t self[MAX_PATH];
    REQUIRE(GetModuleFileNameW(nullptr, self, MAX_PATH) > 0);
    const std::wstring copy = folder / name;
    REQUIRE(CopyInto(self, copy));
    return copy;
}

}  // namespace xpv_test
