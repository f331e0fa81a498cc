// Reading a whole profile section is one pass: its time grows in proportion to the rows, and it
// costs a small part of what one platform read per key would.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "BenchTiming.h"
#include "platform/IniEditor.h"

namespace {

void WriteNumberedSection(const std::wstring& path, size_t rowCount) {
    std::string text = "[Before]\r\nb=1\r\n[Main]\r\n";
    for (size_t i = 0; i < rowCount; ++i) text += "key" + std::to_string(i) + "=value " + std::to_string(i) + "\r\n";
    text += "[After]\r\nz=1\r\n";
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    // Dated an hour back: the platform keeps an older file loaded between calls, which makes
    // per-key reads as cheap as they get.
    FILETIME modified;
    GetFileTime(file.get(), nullptr, nullptr, &modified);
    ULARGE_INTEGER time{{modified.dwLowDateTime, modified.dwHighDateTime}};
    time.QuadPart -= 3600ULL * 10000000ULL;
    modified = {time.LowPart, time.HighPart};
    SetFileTime(file.get(), nullptr, nullptr, &modified);
}

}  // namespace

int wmain() {
    const bench::ScratchFolder scratch(bench::TemporaryFilesFolder(), L"xpv-bench-profile");
    const std::wstring& folder = scratch.Path();
    const ProfileTarget small{folder + L"\\rows4000.db", L"Main"};
    const ProfileTarget large{folder + L"\\rows64000.db", L"Main"};
    WriteNumberedSection(small.file, 4000);
    WriteNumberedSection(large.file, 64000);

    size_t smallRows = 0, largeRows = 0;
    // Per-key reads of keys spread through the large file.
    constexpr int kSampledKeys = 200;
    const bench::Timings timings = bench::TimeInTurn({
        {nullptr, [&] { smallRows = ReadSectionEntries(small).size(); }},
        {nullptr, [&] { largeRows = ReadSectionEntries(large).size(); }},
        {nullptr,
         [&] {
             for (int i = 0; i < kSampledKeys; ++i) ReadProfileValue(large, L"key" + std::to_wstring(i * 320), L"");
         }},
    });
    const double perKey = timings.Median(2) / kSampledKeys;

    std::printf("read 4000 rows: %.1f ms, 64000 rows: %.1f ms, one per-key read: %.3f ms (medians of %d)\n",
                timings.Median(0) * 1000, timings.Median(1) * 1000, perKey * 1000, bench::kRuns);
    // 16 times the rows: linear is about 16, quadratic about 256.
    std::printf("growth ratio: %.1f\n", timings.MedianRatio(1, 0));
    // The 200 per-key reads stand for 64000.
    std::printf("one-pass to per-key ratio: %.3f\n", timings.MedianRatio(1, 2) * kSampledKeys / 64000);

    return smallRows == 4000 && largeRows == 64000 ? 0 : 1;
}
