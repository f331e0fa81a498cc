#pragma once
// The folders and files the benchmarks make, and their removal at the end, however the benchmark
// ends.
#include <windows.h>

#include <string>

#include "platform/FolderEntries.h"
#include "platform/UniqueHandle.h"

namespace bench {

// An empty file; false when it could not be made.
inline bool MakeEmptyFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr));
    return static_cast<bool>(file);
}

// The folder and everything in it, whatever their attributes.
inline void RemoveTree(const std::wstring& folder) {
    {
        FolderEntries entries(folder);
        while (const WIN32_FIND_DATAW* entry = entries.Next()) {
            const std::wstring child = folder + L'\\' + entry->cFileName;
            if (IsFolder(*entry)) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        }
    }
    RemoveDirectoryW(folder.c_str());
}

// The folder of this benchmark program.
inline std::wstring ProgramFolder() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\'));
}

// The system's folder for temporary files, without its trailing backslash.
inline std::wstring TemporaryFilesFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp, length > 0 ? length - 1 : 0);
}

// A new folder for one run, named after the benchmark and this process, removed with all it
// holds when the run ends.
class ScratchFolder {
public:
    ScratchFolder(const std::wstring& parent, const std::wstring& name)
        : path_(parent + L'\\' + name + L'-' + std::to_wstring(GetCurrentProcessId())) {
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    // A new folder of that name in it (or in one of its folders).
    std::wstring NewFolder(const std::wstring& relative) const {
        const std::wstring path = path_ + L'\\' + relative;
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }

private:
    std::wstring path_;
};

}  // namespace bench
