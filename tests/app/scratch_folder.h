#pragma once
// A folder of the test's own in the temp directory, removed with all it holds at the end.
#include <windows.h>

#include <string>

#include "support/doctest_wide.h"

class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& prefix) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + prefix + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(GetTickCount());
        REQUIRE(CreateDirectoryW(path_.c_str(), nullptr));
    }
    ~ScratchFolder() { RemoveTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return path_; }

    // Creates a folder below this one; the attributes (hidden, system) must stick.
    std::wstring Folder(const std::wstring& relative, DWORD attributes = 0) {
        const std::wstring path = path_ + L'\\' + relative;
        REQUIRE(CreateDirectoryW(path.c_str(), nullptr));
        ApplyAttributes(path, attributes);
        return path;
    }

    std::wstring File(const std::wstring& relative, DWORD attributes = 0) {
        const std::wstring path = path_ + L'\\' + relative;
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        const bool created = file != INVALID_HANDLE_VALUE;
        if (created) CloseHandle(file);
        REQUIRE(created);
        ApplyAttributes(path, attributes);
        return path;
    }

    static void RemoveTree(const std::wstring& path) {
        WIN32_FIND_DATAW entry{};
        const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &entry);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = entry.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring child = path + L'\\' + name;
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(child);
                } else {
                    DeleteFileW(child.c_str());
                }
            } while (FindNextFileW(search, &entry));
            FindClose(search);
        }
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryW(path.c_str());
    }

private:
    static void ApplyAttributes(const std::wstring& path, DWORD attributes) {
        if (attributes == 0) return;
        const DWORD current = GetFileAttributesW(path.c_str());
        REQUIRE(SetFileAttributesW(path.c_str(), current | attributes));
        REQUIRE((GetFileAttributesW(path.c_str()) & attributes) == attributes);
    }

    std::wstring path_;
};
