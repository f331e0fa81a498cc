// Times filling the Vestrim panel's two lists through the real window for a folder of 5,000
// executables, 1,000 of them with manifests, against what cannot be avoided: one listing of the
// folder and one version read (the details of the first program). Asking for each manifest by
// name costs a search of the whole folder per missing name where names are matched without
// letter case, so that way grows with the square of the folder.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "BenchTiming.h"
#include "app/MainForm.h"
#include "support/PanelViews.h"
#include "app/WindowText.h"
#include "platform/VersionInfo.h"

namespace {

constexpr int kExecutables = 5000;
constexpr int kThemedEvery = 5;  // every fifth program has a manifest: 1,000 of 5,000

std::wstring ProgramName(int i) {
    wchar_t name[32];
    swprintf(name, 32, L"program%04d.exe", i);
    return name;
}

// The programs and the lists the panel must show for them. The first program is a copy of this
// benchmark, so that the one version read has a real resource to read; the others are empty.
struct Programs {
    std::vector<std::wstring> unthemed;
    std::vector<std::wstring> themed;
    bool made = true;
};

Programs MakePrograms(const std::wstring& folder) {
    Programs programs;
    wchar_t self[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    for (int i = 0; i < kExecutables; ++i) {
        const std::wstring name = ProgramName(i);
        const std::wstring path = folder + L"\\" + name;
        const bool themed = i % kThemedEvery == kThemedEvery - 1;
        programs.made &= i == 0 ? CopyFileW(self, path.c_str(), TRUE) != FALSE : bench::MakeEmptyFile(path);
        if (themed) {
            programs.made &= bench::MakeEmptyFile(path + L".manifest", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        }
        (themed ? programs.themed : programs.unthemed).push_back(name);
    }
    return programs;
}

std::vector<std::wstring> Items(const CheckList& list) {
    std::vector<std::wstring> items;
    for (int i = 0; i < list.Count(); ++i) items.push_back(list.Text(i));
    return items;
}

}  // namespace

int wmain() {
    const bench::ScratchFolder scratch(bench::TemporaryFilesFolder(), L"xpv-bench-folder-list");
    const std::wstring appFolder = scratch.NewFolder(L"app");
    const std::wstring folder = scratch.NewFolder(L"programs");
    const Programs programs = MakePrograms(folder);

    // Not shown: the refresh itself runs no message loop, so nothing is painted inside it either
    // way; drawing the few visible rows afterwards costs the same for any folder size.
    MainForm::Options options;
    options.applicationDirectory = appFolder;
    options.endsProgram = false;
    options.show = false;
    MainForm form(options);
    if (!programs.made || !form.Create()) {
        std::fprintf(stderr, programs.made ? "no window\n" : "the programs could not be made\n");
        return 1;
    }
    VestrimPanel& panel = MainForm::TestView{form}.Panel<VestrimPanel>();
    const VestrimPanel::TestView lists{panel};
    const auto boxText = [&panel](int id) { return TextOf(GetDlgItem(panel.Window(), id)); };
    panel.OpenFolder(folder);

    size_t bareCount = 0;
    std::wstring bareProduct;
    const bench::Timings timings = bench::TimeInTurn({
        {nullptr, [&] { panel.Shown(); }},
        {nullptr,
         [&] {
             std::vector<std::wstring> names;
             WIN32_FIND_DATAW found;
             HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
             if (search != INVALID_HANDLE_VALUE) {
                 do {
                     const std::wstring name = found.cFileName;
                     if (name != L"." && name != L"..") names.push_back(name);
                 } while (FindNextFileW(search, &found));
                 FindClose(search);
             }
             VersionInfo version;
             version.SetFileName(folder + L"\\" + programs.unthemed.front());
             bareProduct = version.ProductName() + version.CompanyName() + version.FileDescription();
             bareCount = names.size();
         }},
    });

    const bool listsRight = Items(lists.lstUnthemed()) == programs.unthemed && Items(lists.lstThemed()) == programs.themed;
    const bool detailsRight = lists.lstUnthemed().Current() == 0 &&
                              boxText(VestrimPanel::kTxtApplicationName) == programs.unthemed.front() &&
                              !bareProduct.empty() &&
                              boxText(VestrimPanel::kTxtProductName) + boxText(VestrimPanel::kTxtCompanyName) +
                                      boxText(VestrimPanel::kTxtDescription) == bareProduct;
    std::printf("lists: %d unthemed, %d themed (%s); details of the first program %s; %zu entries listed bare\n",
                lists.lstUnthemed().Count(), lists.lstThemed().Count(), listsRight ? "right" : "WRONG",
                detailsRight ? "right" : "WRONG", bareCount);
    std::printf("refresh of %d executables: %.4f s, bare listing and one version read: %.4f s (medians of %d)\n",
                kExecutables, timings.Median(0), timings.Median(1), bench::kRuns);
    std::printf("folder list/bare ratio: %.2f\n", timings.MedianRatio(0, 1));
    const size_t files = programs.unthemed.size() + 2 * programs.themed.size();
    return listsRight && detailsRight && bareCount == files ? 0 : 1;
}
