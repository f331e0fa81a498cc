// The Turbo Vestrim search against the least work any search of the same tree must do: a bare
// recursive walk that lists each folder with the pattern, takes its subfolders in name order,
// tests for manifests the same way and reads product name and description with the raw version
// calls. The search adds its own bookkeeping, its yields to the window and its progress texts;
// the ratio tells what they cost.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "batch/BatchSearch.h"
#include "manifest/ManifestFile.h"
#include "platform/MessagePump.h"

namespace {

constexpr int kTopFolders = 6;
constexpr int kFanOut = 6;            // subfolders of each folder below the top, two levels deep
constexpr int kOtherFilesPerFolder = 10;
constexpr int kRuns = 9;


void AddEmptyFile(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

// Each folder: data files, a program without a manifest and one with. The programs are hard links
// to `program`, a copy of this benchmark, which carries a version resource.
void Populate(const std::wstring& folder, const std::wstring& program, int depth) {
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 0; i < kOtherFilesPerFolder; ++i) AddEmptyFile(folder + L"\\data" + std::to_wstring(i) + L".dat");
    for (const wchar_t* name : {L"\\plain.exe", L"\\themed.exe"}) {
        CreateHardLinkW((folder + name).c_str(), program.c_str(), nullptr);
    }
    AddEmptyFile(folder + L"\\themed.exe.manifest");
    if (depth == 3) return;
    const int children = depth == 0 ? kTopFolders : kFanOut;
    for (int i = 0; i < children; ++i) Populate(folder + L"\\Folder " + std::to_wstring(i), program, depth + 1);
}

void RemoveTree(const std::wstring& path) {
    const std::wstring from = path + L'\0';  // a list of paths, ended by an empty one
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationW(&operation);
}

std::wstring RawVersionText(const std::vector<unsigned char>& block, const std::wstring& translation,
                            const wchar_t* entry) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring query = L"\\StringFileInfo\\" + translation + L"\\" + entry;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0) return {};
    return std::wstring(static_cast<const wchar_t*>(value), length - 1);
}

// Product name and description with the raw calls.
std::wstring RawDetails(const std::wstring& path) {
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

bool PrecedesByName(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_LESS_THAN;
}

void BareWalk(const std::wstring& folder, SearchMode mode, std::vector<std::wstring>& results) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\" + SearchPatternOf(mode)).c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::wstring path = folder + L"\\" + found.cFileName;
            if (mode == SearchMode::Themed) {
                const std::wstring executable = path.substr(0, path.size() - 9);
                results.push_back(RawDetails(executable) + L" (" + executable + L")");
            } else if (!IsManifestPresent(path + L".manifest")) {
                results.push_back(RawDetails(path) + L" (" + path + L")");
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    std::vector<std::wstring> subfolders;
    search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") {
                subfolders.push_back(name);
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    std::sort(subfolders.begin(), subfolders.end(), PrecedesByName);
    for (const std::wstring& name : subfolders) BareWalk(folder + L"\\" + name, mode, results);
}

// Yields to the window as the panel does; shows nothing.
class QuietHost : public SearchHost {
public:
    void YieldToWindow() override { DoEvents(); }
    bool StopRequested() override { return false; }
    void ShowFolder(const std::wstring&) override {}
    void ShowProgress(const SearchProgress&) override {}
    void AddResult(const std::wstring& line, const std::wstring& executablePath) override {
        lines.push_back(line);
        paths.push_back(executablePath);
    }
    std::vector<std::wstring> lines;
    std::vector<std::wstring> paths;
};

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Comparison {
    double search;
    double bare;
    size_t results;
};

double TimeBareWalk(const std::wstring& tree, SearchMode mode, size_t& results) {
    std::vector<std::wstring> found;
    const double start = bench::Seconds();
    BareWalk(tree, mode, found);
    const double elapsed = bench::Seconds() - start;
    results = found.size();
    return elapsed;
}

double TimeSearch(const std::wstring& tree, SearchMode mode, size_t& results) {
    QuietHost host;
    SearchOptions options;
    options.startDirectory = tree;
    options.mode = mode;
    const double start = bench::Seconds();
    RunBatchSearch(options, host);
    const double elapsed = bench::Seconds() - start;
    results = host.lines.size();
    return elapsed;
}

Comparison Compare(const std::wstring& tree, SearchMode mode) {
    std::vector<double> searchTimes;
    std::vector<double> bareTimes;
    size_t searchResults = 0;
    size_t bareResults = 0;
    // Run 0 warms the caches for both and is not counted; the order alternates, so that neither
    // side always runs on what the other left.
    for (int run = 0; run <= kRuns; ++run) {
        double search = 0;
        double bare = 0;
        if (run % 2 == 0) {
            bare = TimeBareWalk(tree, mode, bareResults);
            search = TimeSearch(tree, mode, searchResults);
        } else {
            search = TimeSearch(tree, mode, searchResults);
            bare = TimeBareWalk(tree, mode, bareResults);
        }
        if (searchResults != bareResults) {
            std::fprintf(stderr, "the search found %zu results, the bare walk %zu\n", searchResults, bareResults);
        }
        if (run == 0) continue;
        bareTimes.push_back(bare);
        searchTimes.push_back(search);
    }
    return {Median(searchTimes), Median(bareTimes), searchResults};
}

}  // namespace

int wmain() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring tree = std::wstring(temp) + L"xpv-bench-turbo-" + std::to_wstring(GetCurrentProcessId());
    // Links to the running file itself could not be deleted afterwards.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring program = tree + L"-program.exe";
    CopyFileW(self, program.c_str(), FALSE);
    Populate(tree, program, 0);

    for (const SearchMode mode : {SearchMode::Unthemed, SearchMode::Themed}) {
        const Comparison comparison = Compare(tree, mode);
        const char* name = mode == SearchMode::Themed ? "themed" : "unthemed";
        std::printf("%s search: %.1f ms, bare walk: %.1f ms, %zu results\n", name, comparison.search * 1000,
                    comparison.bare * 1000, comparison.results);
        std::printf("%s search to bare walk ratio: %.3f\n", name, comparison.search / comparison.bare);
    }
    RemoveTree(tree);
    DeleteFileW(program.c_str());
    return 0;
}
