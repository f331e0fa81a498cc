// Times loading the history into the History panel through the real window: the cost per entry
// must not grow with the size of the history, and dropping stale entries must not cost a
// rewrite of the file per entry.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "BenchTiming.h"
#include "app/MainForm.h"
#include "support/PanelViews.h"
#include "support/WindowInput.h"
#include "history/HistoryLines.h"
#include "platform/IniEditor.h"

namespace {

// `count` programs with manifests, spread over folders of 500, and their history rows.
struct Programs {
    std::vector<std::wstring> manifests;
    std::vector<ProfileEntry> rows;
};

Programs ThemedPrograms(const bench::ScratchFolder& scratch, const std::wstring& folder, int count) {
    Programs programs;
    scratch.NewFolder(folder);
    for (int i = 0; i < count; ++i) {
        const std::wstring set = scratch.NewFolder(folder + L"\\set" + std::to_wstring(i / 500));
        const std::wstring manifest = set + L"\\program" + std::to_wstring(i) + L".exe.manifest";
        bench::MakeEmptyFile(manifest, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        programs.manifests.push_back(manifest);
        programs.rows.push_back({HistoryKeyFor(manifest),
                                 HistoryValueFor(L"Product " + std::to_wstring((i * 7919) % count), L"Description")});
    }
    return programs;
}

}  // namespace

int wmain() {
    const bench::ScratchFolder scratch(bench::TemporaryFilesFolder(), L"xpv-bench-history");
    const std::wstring appFolder = scratch.NewFolder(L"app");

    MainForm::Options options;
    options.applicationDirectory = appFolder;
    options.endsProgram = false;
    options.show = false;
    MainForm form(options);
    if (!form.Create()) {
        std::fprintf(stderr, "no window\n");
        return 1;
    }
    HistoryPanel& panel = xpv_test::OpenPanel<HistoryPanel>(form);
    const CheckList& list = HistoryPanel::TestView{panel}.lstHistory();
    const ProfileTarget history{MainForm::TestView{form}.History().File(), L"Main"};
    const auto writeHistory = [&](const std::vector<ProfileEntry>& rows) {
        DeleteFileW(history.file.c_str());
        WriteSectionEntries(history, rows);
    };

    const Programs small = ThemedPrograms(scratch, L"small", 2000);
    const Programs large = ThemedPrograms(scratch, L"large", 20000);
    // Half of the large history's manifests gone: they are in the file again before each load.
    const Programs staleHalf = ThemedPrograms(scratch, L"stale", 20000);
    for (size_t i = 0; i < staleHalf.manifests.size(); i += 2) DeleteFileW(staleHalf.manifests[i].c_str());

    int smallCount = 0, largeCount = 0, staleCount = 0;
    const bench::Timings timings = bench::TimeInTurn({
        {[&] { writeHistory(small.rows); },
         [&] {
             panel.Shown();
             smallCount = list.Count();
         }},
        {[&] { writeHistory(large.rows); },
         [&] {
             panel.Shown();
             largeCount = list.Count();
         }},
        {[&] { writeHistory(staleHalf.rows); },
         [&] {
             panel.Shown();
             staleCount = list.Count();
         }},
    });

    std::printf("entries listed: %d, %d, %d (half stale)\n", smallCount, largeCount, staleCount);
    std::printf("load 2000: %.3f s, load 20000: %.3f s, load 20000 half stale: %.3f s (medians of %d)\n",
                timings.Median(0), timings.Median(1), timings.Median(2), bench::kRuns);
    // Ten times the entries: the time per entry stays the same when the ratio of times is 10.
    std::printf("per-entry ratio: %.2f\n", timings.MedianRatio(1, 0) / 10.0);
    std::printf("stale ratio: %.2f\n", timings.MedianRatio(2, 1));
    return (smallCount == 2000 && largeCount == 20000 && staleCount == 10000) ? 0 : 1;
}
