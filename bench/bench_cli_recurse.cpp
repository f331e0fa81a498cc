// The console program's "theme --recurse --dry-run" over the benchmark tree, run as a script runs
// it (its lines going to a file), against the bare walk of the same tree (BenchTree.h). The
// command adds its argument checks, the batch search's bookkeeping and the lines it prints; the
// ratio tells what they cost. Both must name the same programs.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "BenchTiming.h"
#include "BenchTree.h"
#include "cli/OutputStream.h"
#include "cli/RunCommandLine.h"
#include "platform/TextEncoding.h"
#include "platform/UniqueHandle.h"
#include "platform/WholeFile.h"

namespace {

UniqueHandle NewFile(const std::wstring& path) {
    return UniqueHandle(
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The programs the command's lines name.
std::vector<std::wstring> ProgramsNamed(const std::wstring& outputFile) {
    const std::wstring prefix = L"would theme: ";
    const std::wstring text = WideFromUtf8(ReadWholeFile(outputFile).value_or("")).value_or(L"");
    std::vector<std::wstring> programs;
    for (size_t start = 0, end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
        const std::wstring line = text.substr(start, end - start);
        programs.push_back(line.starts_with(prefix) ? line.substr(prefix.size()) : L"unexpected: " + line);
    }
    return programs;
}

}  // namespace

int wmain() {
    // Under the build folder, beside this program.
    const bench::ScratchFolder scratch(bench::ProgramFolder(), L"cli-bench");
    const std::wstring tree = scratch.Path() + L"\\tree";
    bench::Populate(bench::MakeFolders(tree), bench::Backslashed(XPV_BENCH_FIXTURES));
    const ProgramFiles files = ProgramFilesIn(scratch.Path());
    const std::wstring outputFile = scratch.Path() + L"\\output.txt";
    const std::wstring errorFile = scratch.Path() + L"\\errors.txt";

    UniqueHandle output, errors;
    int exitCode = -1;
    bench::BareResults bare;
    const bench::Timings timings = bench::TimeInTurn({
        {[&] {
             output = NewFile(outputFile);
             errors = NewFile(errorFile);
         },
         [&] {
             OutputStream out(output.get());
             OutputStream err(errors.get());
             Streams streams{out, err};
             exitCode = RunCommandLine({L"theme", L"--recurse", L"--dry-run", tree}, files, streams);
         }},
        {[&] { bare = bench::BareResults{}; }, [&] { bench::BareWalk(tree, SearchMode::Unthemed, bare); }},
    });
    output.reset();
    errors.reset();

    const std::vector<std::wstring> named = ProgramsNamed(outputFile);
    std::printf("theme --recurse --dry-run %.1f ms, bare walk %.1f ms, %zu programs, %lld folders (medians of %d)\n",
                timings.Median(0) * 1000, timings.Median(1) * 1000, named.size(),
                static_cast<long long>(bare.counters.scannedDirectories), bench::kRuns);
    if (exitCode != 0 || bench::Sorted(named) != bench::Sorted(bare.paths)) {
        std::fprintf(stderr, "the command (exit code %d) named %zu programs, the bare walk found %zu\n", exitCode,
                     named.size(), bare.paths.size());
        return 1;
    }
    std::printf("cli/bare ratio: %.3f\n", timings.MedianRatio(0, 1));
    return 0;
}
