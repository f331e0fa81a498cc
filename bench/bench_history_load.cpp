// Times loading the history into the History panel through the real window: the cost per entry
// must not grow with the size of the history, and dropping stale entries must not cost a
// rewrite of the file per entry.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "app/MainForm.h"
#include "history/HistoryLines.h"
#include "platform/IniEditor.h"

namespace {

std::wstring NewFolder(const std::wstring& parent, const std::wstring& name) {
    const std::wstring path = parent + L"\\" + name;
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

void RemoveFolder(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

// A history of `count` entries whose manifests exist, spread over folders of 500 programs.
std::vector<std::wstring> WriteHistory(const std::wstring& appFolder, const std::wstring& programs, int count) {
    std::vector<std::wstring> manifests;
    std::vector<ProfileEntry> rows;
    for (int i = 0; i < count; ++i) {
        const std::wstring folder = NewFolder(programs, L"set" + std::to_wstring(i / 500));
        const std::wstring manifest = folder + L"\\program" + std::to_wstring(i) + L".exe.manifest";
        HANDLE file = CreateFileW(manifest.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        manifests.push_back(manifest);
        rows.push_back({HistoryKeyFor(manifest),
                        HistoryValueFor(L"Product " + std::to_wstring((i * 7919) % count), L"Description")});
    }
    const ProfileTarget history{appFolder + L"\\history.db", L"Main"};
    DeleteFileW(history.file.c_str());
    WriteSectionEntries(history, rows);
    return manifests;
}

// Best of a few loads, each of the same file.
double TimeLoad(MainForm& form, int repeats) {
    double best = 1e9;
    for (int i = 0; i < repeats; ++i) {
        const double start = Seconds();
        form.history.LoadHistory();
        best = std::min(best, Seconds() - start);
    }
    return best;
}

}  // namespace

int wmain() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = NewFolder(temp, L"xpv-bench-history-" + std::to_wstring(GetCurrentProcessId()));
    const std::wstring appFolder = NewFolder(root, L"app");

    MainForm::Options options;
    options.applicationDirectory = appFolder;
    options.endsProgram = false;
    options.show = false;
    MainForm form(options);
    if (!form.Create()) {
        std::fprintf(stderr, "no window\n");
        return 1;
    }

    const std::wstring small = NewFolder(root, L"small");
    WriteHistory(appFolder, small, 2000);
    const double smallTime = TimeLoad(form, 3);
    const int smallCount = form.history.lstHistory.Count();

    const std::wstring large = NewFolder(root, L"large");
    const std::vector<std::wstring> manifests = WriteHistory(appFolder, large, 20000);
    const double largeTime = TimeLoad(form, 3);
    const int largeCount = form.history.lstHistory.Count();

    for (size_t i = 0; i < manifests.size(); i += 2) {
        SetFileAttributesW(manifests[i].c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(manifests[i].c_str());
    }
    const double staleStart = Seconds();
    form.history.LoadHistory();
    const double staleTime = Seconds() - staleStart;
    const int staleCount = form.history.lstHistory.Count();

    std::printf("entries listed: %d, %d, %d (stale load)\n", smallCount, largeCount, staleCount);
    std::printf("load 2000: %.3f s, load 20000: %.3f s, load 20000 half stale: %.3f s\n", smallTime, largeTime,
                staleTime);
    std::printf("per-entry ratio: %.2f\n", (largeTime / 20000.0) / (smallTime / 2000.0));
    std::printf("stale ratio: %.2f\n", staleTime / largeTime);
    RemoveFolder(root);
    return (smallCount == 2000 && largeCount == 20000 && staleCount == 10000) ? 0 : 1;
}
