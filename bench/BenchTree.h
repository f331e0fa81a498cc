#pragma once
// The benchmark tree of the batch search (about 2,000 folders and 50,000 files, some of them
// programs, some of those with a manifest) and the bare recursive walk that a search over it is
// measured against: the least work any search of the same tree must do. It lists each folder once
// as the search does (every file, hidden and system ones too, and the subfolders, taken in name
// order), tests for manifests the same way and reads product name and description with the raw
// version calls.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "batch/SearchMode.h"
#include "manifest/ManifestFile.h"
#include "platform/FolderEntries.h"
#include "platform/VersionResourceCheck.h"

namespace bench {

// About 2,000 folders (1 + 20 + 200 + 1,800) and 50,000 files, 5,000 of them programs.
inline constexpr int kTopFolders = 20;
inline constexpr int kSecondLevel = 10;
inline constexpr int kThirdLevel = 9;
inline constexpr int kFiles = 50000;
inline constexpr int kPrograms = 5000;
inline constexpr int kManifestEvery = 5;  // 1,000 programs with a manifest
inline constexpr int kVersionedEvery = 3;  // one program in three carries a version resource

inline constexpr size_t kManifestEndingLength = 9;  // ".manifest"

inline std::wstring Backslashed(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

inline std::vector<std::wstring> MakeFolders(const std::wstring& tree) {
    std::vector<std::wstring> folders{tree};
    CreateDirectoryW(tree.c_str(), nullptr);
    for (int top = 0; top < kTopFolders; ++top) {
        const std::wstring first = tree + L"\\Folder " + std::to_wstring(top);
        CreateDirectoryW(first.c_str(), nullptr);
        folders.push_back(first);
        for (int second = 0; second < kSecondLevel; ++second) {
            const std::wstring middle = first + L"\\sub" + std::to_wstring(second);
            CreateDirectoryW(middle.c_str(), nullptr);
            folders.push_back(middle);
            for (int third = 0; third < kThirdLevel; ++third) {
                const std::wstring leaf = middle + L"\\Leaf " + std::to_wstring(third);
                CreateDirectoryW(leaf.c_str(), nullptr);
                folders.push_back(leaf);
            }
        }
    }
    return folders;
}

// The programs spread over the folders in turn, then the data files.
inline void Populate(const std::vector<std::wstring>& folders, const std::wstring& fixtures) {
    const std::wstring versioned = fixtures + L"\\versioned.exe";
    const std::wstring plain = fixtures + L"\\plain.exe";
    for (int i = 0; i < kPrograms; ++i) {
        const std::wstring program = folders[i % folders.size()] + L"\\app" + std::to_wstring(i) + L".exe";
        CopyFileW((i % kVersionedEvery == 0 ? versioned : plain).c_str(), program.c_str(), FALSE);
        if (i % kManifestEvery == 0) MakeEmptyFile(ManifestPathFor(program));
    }
    const int dataFiles = kFiles - kPrograms - kPrograms / kManifestEvery;
    for (int i = 0; i < dataFiles; ++i) {
        MakeEmptyFile(folders[i % folders.size()] + L"\\data" + std::to_wstring(i) + L".dat");
    }
}

inline std::wstring RawVersionText(const std::vector<unsigned char>& block, const wchar_t* translation, const wchar_t* entry) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\") + translation + L"\\" + entry;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0) return {};
    std::wstring text(static_cast<const wchar_t*>(value), length - 1);
    text.resize(std::min(text.size(), text.find(L'\0')));
    return text;
}

// "Product >> Description" with the raw calls, made where the search makes them: only on an image
// whose version resource is sound (the system's functions are not safe on any other).
inline std::wstring RawDetails(const std::wstring& path) {
    if (!HasSoundVersionResource(path)) return L" >> ";
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &unused);
    if (size == 0) return L" >> ";
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return L" >> ";
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < 4) return L" >> ";
    const auto* pair = static_cast<const WORD*>(value);
    wchar_t translation[9];
    std::swprintf(translation, 9, L"%04X%04X", pair[0], pair[1]);
    return RawVersionText(block, translation, L"ProductName") + L" >> " +
           RawVersionText(block, translation, L"FileDescription");
}

struct BareResults {
    std::vector<std::wstring> lines;
    std::vector<std::wstring> paths;
    SearchCounters counters;
};

inline void AddBareResult(const std::wstring& executable, BareResults& results) {
    wchar_t serial[16];
    std::swprintf(serial, 16, L"%05d", results.counters.results++);
    results.lines.push_back(RawDetails(executable) + L" (" + executable + L") [" + serial + L"]");
    results.paths.push_back(executable);
}

inline void BareWalk(const std::wstring& folder, SearchMode mode, BareResults& results) {
    ++results.counters.scannedDirectories;
    const std::wstring ending = mode == SearchMode::Themed ? L".exe.manifest" : L".exe";
    std::vector<std::wstring> subfolders;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (IsFileEndingIn(found, ending)) {
                ++results.counters.scannedFiles;
                const std::wstring path = folder + L"\\" + found.cFileName;
                if (mode == SearchMode::Themed) {
                    ++results.counters.themedFiles;
                    AddBareResult(path.substr(0, path.size() - kManifestEndingLength), results);
                } else if (IsManifestPresent(ManifestPathFor(path))) {
                    ++results.counters.themedFiles;
                } else {
                    ++results.counters.unthemedFiles;
                    AddBareResult(path, results);
                }
            } else if (IsFolder(found) && std::wcscmp(found.cFileName, L".") != 0 &&
                       std::wcscmp(found.cFileName, L"..") != 0) {
                subfolders.emplace_back(found.cFileName);
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    SortAsFolderList(subfolders);
    for (const std::wstring& name : subfolders) BareWalk(folder + L"\\" + name, mode, results);
}

inline std::vector<std::wstring> Sorted(std::vector<std::wstring> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace bench
