// The Turbo Vestrim panel's Go, through the real window, against the least work any search of the
// same tree must do: a bare recursive walk that lists each folder once as the search does (every
// file, hidden and system ones too, and the subfolders, taken in name order), tests for manifests
// the same way and reads product name and description with the raw version calls. Go adds its
// bookkeeping, its yields to the window, the progress it shows and the result list; the ratio
// tells what they cost. Both must find the same results and counts.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "BenchTiming.h"
#include "app/DirectoryList.h"
#include "app/MainForm.h"
#include "support/PanelViews.h"
#include "support/WindowInput.h"
#include "manifest/ManifestFile.h"
#include "platform/FolderEntries.h"
#include "platform/MessagePump.h"
#include "platform/VersionResourceCheck.h"

namespace {

// About 2,000 folders (1 + 20 + 200 + 1,800) and 50,000 files, 5,000 of them programs.
constexpr int kTopFolders = 20;
constexpr int kSecondLevel = 10;
constexpr int kThirdLevel = 9;
constexpr int kFiles = 50000;
constexpr int kPrograms = 5000;
constexpr int kManifestEvery = 5;  // 1,000 programs with a manifest
constexpr int kVersionedEvery = 3;  // one program in three carries a version resource

constexpr size_t kManifestEndingLength = 9;  // ".manifest"

std::wstring Backslashed(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::vector<std::wstring> MakeFolders(const std::wstring& tree) {
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
void Populate(const std::vector<std::wstring>& folders, const std::wstring& fixtures) {
    const std::wstring versioned = fixtures + L"\\versioned.exe";
    const std::wstring plain = fixtures + L"\\plain.exe";
    for (int i = 0; i < kPrograms; ++i) {
        const std::wstring program = folders[i % folders.size()] + L"\\app" + std::to_wstring(i) + L".exe";
        CopyFileW((i % kVersionedEvery == 0 ? versioned : plain).c_str(), program.c_str(), FALSE);
        if (i % kManifestEvery == 0) bench::MakeEmptyFile(ManifestPathFor(program));
    }
    const int dataFiles = kFiles - kPrograms - kPrograms / kManifestEvery;
    for (int i = 0; i < dataFiles; ++i) {
        bench::MakeEmptyFile(folders[i % folders.size()] + L"\\data" + std::to_wstring(i) + L".dat");
    }
}

std::wstring RawVersionText(const std::vector<unsigned char>& block, const wchar_t* translation, const wchar_t* entry) {
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
std::wstring RawDetails(const std::wstring& path) {
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

void AddBareResult(const std::wstring& executable, BareResults& results) {
    wchar_t serial[16];
    std::swprintf(serial, 16, L"%05d", results.counters.results++);
    results.lines.push_back(RawDetails(executable) + L" (" + executable + L") [" + serial + L"]");
    results.paths.push_back(executable);
}

void BareWalk(const std::wstring& folder, SearchMode mode, BareResults& results) {
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

std::vector<std::wstring> Sorted(std::vector<std::wstring> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

bool SameCounts(const SearchCounters& a, const SearchCounters& b) {
    return a.scannedDirectories == b.scannedDirectories && a.skippedDirectories == b.skippedDirectories &&
           a.scannedFiles == b.scannedFiles && a.themedFiles == b.themedFiles && a.unthemedFiles == b.unthemedFiles &&
           a.results == b.results;
}

// Times Go and the bare walk for one mode; false when they found different results.
bool Compare(MainForm& form, const std::wstring& tree, SearchMode mode, const char* name) {
    TurboPanel& turbo = MainForm::TestView{form}.Panel<TurboPanel>();
    const TurboPanel::TestView panel{turbo};
    const auto click = [&turbo](int id) { xpv_test::ClickButton(GetDlgItem(turbo.Window(), id)); };
    BareResults bare;
    const bench::Timings timings = bench::TimeInTurn({
        {[&] {
             click(TurboPanel::kCmdNewSearch);
             click(TurboPanel::kLblTurboSearchForFirst + (mode == SearchMode::Themed ? 1 : 2));
             panel.dirTurbo().SetPath(tree);
             DoEvents();
         },
         [&] { click(TurboPanel::kCmdTurboSearch); }},
        {[&] { bare = BareResults{}; }, [&] { BareWalk(tree, mode, bare); }},
    });

    std::vector<std::wstring> lines;
    for (int i = 0; i < panel.lstTurbo().Count(); ++i) lines.push_back(panel.lstTurbo().Text(i));
    const bool same = Sorted(lines) == Sorted(bare.lines) && panel.lstTempTurbo() == bare.paths &&
                      SameCounts(panel.Counters(), bare.counters);
    std::printf("%s: Go %.1f ms, bare walk %.1f ms, %d results, %lld folders, %lld files examined (medians of %d)\n",
                name, timings.Median(0) * 1000, timings.Median(1) * 1000, bare.counters.results,
                static_cast<long long>(bare.counters.scannedDirectories),
                static_cast<long long>(bare.counters.scannedFiles), bench::kRuns);
    if (!same) {
        std::fprintf(stderr, "%s: Go found %zu results (%d counted, %lld files), the bare walk %zu (%lld files)\n", name,
                     lines.size(), panel.Counters().results, static_cast<long long>(panel.Counters().scannedFiles),
                     bare.lines.size(), static_cast<long long>(bare.counters.scannedFiles));
        return false;
    }
    std::printf("turbo/bare ratio %s: %.3f\n", name, timings.MedianRatio(0, 1));
    return true;
}

}  // namespace

int wmain() {
    // Under the build folder, beside this program.
    const bench::ScratchFolder scratch(bench::ProgramFolder(), L"turbo-bench");
    const std::wstring& root = scratch.Path();
    Populate(MakeFolders(root + L"\\tree"), Backslashed(XPV_BENCH_FIXTURES));
    // As the folder list writes it, which is where Go starts.
    const std::wstring tree = NormalFolderPath(root + L"\\tree").value_or(root + L"\\tree");

    MainForm::Options options;
    options.applicationDirectory = root;
    options.endsProgram = false;
    MainForm form(options);
    if (!form.Create()) {
        std::fprintf(stderr, "no window\n");
        return 1;
    }
    xpv_test::OpenPanel<TurboPanel>(form);
    DoEvents();
    const bool unthemedSame = Compare(form, tree, SearchMode::Unthemed, "unthemed");
    const bool themedSame = Compare(form, tree, SearchMode::Themed, "themed");
    return unthemedSame && themedSame ? 0 : 1;
}
