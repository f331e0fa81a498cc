// Times loading the history into the History panel through the real window: the cost per entry
// must not grow with the size of the history, and dropping stale entries must not cost a
// rewrite of the file per entry.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchTiming.h"
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

void CreateEmptyFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

// `count` programs with manifests, spread over folders of 500, and their history rows.
struct Programs {
    std::vector<std::wstring> manifests;
    std::vector<ProfileEntry> rows;
};

Programs ThemedPrograms(const std::wstring& folder, int count) {
    Programs programs;
    for (int i = 0; i < count; ++i) {
        const std::wstring set = NewFolder(folder, L"set" + std::to_wstring(i / 500));
        const std::wstring manifest = set + L"\\program" + std::to_wstring(i) + L".exe.manifest";
        CreateEmptyFile(manifest);
        programs.manifests.push_back(manifest);
        programs.rows.push_back({HistoryKeyFor(manifest),
                                 HistoryValueFor(L"Product " + std::to_wstring((i * 7919) % count), L"Description")});
    }
    return programs;
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
    const ProfileTarget history{form.HistoryFilePath(), L"Main"};
    const auto writeHistory = [&](const std::vector<ProfileEntry>& rows) {
        DeleteFileW(history.file.c_str());
        WriteSectionEntries(history, rows);
    };

    const Programs small = ThemedPrograms(NewFolder(root, L"small"), 2000);
    const Programs large = ThemedPrograms(NewFolder(root, L"large"), 20000);
    // Half of the large history's manifests gone: they are in the file again before each load.
    const Programs staleHalf = ThemedPrograms(NewFolder(root, L"stale"), 20000);
    for (size_t i = 0; i < staleHalf.manifests.size(); i += 2) DeleteFileW(staleHalf.manifests[i].c_str());

    int smallCount = 0, largeCount = 0, staleCount = 0;
    const bench::Timings timings = bench::TimeInTurn({
        {[&] { writeHistory(small.rows); },
         [&] {
             form.history.LoadHistory();
             smallCount = form.history.lstHistory.Count();
         }},
        {[&] { writeHistory(large.rows); },
         [&] {
             form.history.LoadHistory();
             largeCount = form.history.lstHistory.Count();
         }},
        {[&] { writeHistory(staleHalf.rows); },
         [&] {
             form.history.LoadHistory();
             staleCount = form.history.lstHistory.Count();
         }},
    });

    std::printf("entries listed: %d, %d, %d (half stale)\n", smallCount, largeCount, staleCount);
    std::printf("load 2000: %.3f s, load 20000: %.3f s, load 20000 half stale: %.3f s (medians of %d)\n",
                timings.Median(0), timings.Median(1), timings.Median(2), bench::kRuns);
    // Ten times the entries: the time per entry stays the same when the ratio of times is 10.
    std::printf("per-entry ratio: %.2f\n", timings.MedianRatio(1, 0) / 10.0);
    std::printf("stale ratio: %.2f\n", timings.MedianRatio(2, 1));
    RemoveFolder(root);
    return (smallCount == 2000 && largeCount == 20000 && staleCount == 10000) ? 0 : 1;
}
