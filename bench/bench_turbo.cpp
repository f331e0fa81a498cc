// The Turbo Vestrim panel's Go, through the real window, against the bare walk of the benchmark
// tree (BenchTree.h). Go adds its bookkeeping, its yields to the window, the progress it shows and
// the result list; the ratio tells what they cost. Both must find the same results and counts.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "BenchTiming.h"
#include "BenchTree.h"
#include "app/DirectoryList.h"
#include "app/MainForm.h"
#include "support/PanelViews.h"
#include "support/WindowInput.h"
#include "app/MessagePump.h"

namespace {

using bench::BareResults;
using bench::BareWalk;
using bench::Sorted;

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
    const bool same = Sorted(lines) == Sorted(bare.lines) && Sorted(panel.ResultPaths()) == Sorted(bare.paths) &&
                      SameCounts(panel.Counters(), bare.counters);
    std::printf("%s: Go %.1f ms, bare walk %.1f ms, %lld results, %lld folders, %lld files examined (medians of %d)\n",
                name, timings.Median(0) * 1000, timings.Median(1) * 1000, static_cast<long long>(bare.counters.results),
                static_cast<long long>(bare.counters.scannedDirectories),
                static_cast<long long>(bare.counters.scannedFiles), bench::kRuns);
    if (!same) {
        std::fprintf(stderr, "%s: Go found %zu results (%lld counted, %lld files), the bare walk %zu (%lld files)\n", name,
                     lines.size(), static_cast<long long>(panel.Counters().results), static_cast<long long>(panel.Counters().scannedFiles),
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
    bench::Populate(bench::MakeFolders(root + L"\\tree"), bench::Backslashed(XPV_BENCH_FIXTURES));
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
