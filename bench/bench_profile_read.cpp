// Reading a whole profile section is one pass: its time grows in proportion to the rows, and it
// costs a small part of what one platform read per key would.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "BenchClock.h"
#include "platform/IniEditor.h"

namespace {

void WriteNumberedSection(const std::wstring& path, size_t rowCount) {
    std::string text = "[Before]\r\nb=1\r\n[Main]\r\n";
    for (size_t i = 0; i < rowCount; ++i) text += "key" + std::to_string(i) + "=value " + std::to_string(i) + "\r\n";
    text += "[After]\r\nz=1\r\n";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    // Dated an hour back: the platform keeps an older file loaded between calls, which makes
    // per-key reads as cheap as they get.
    FILETIME modified;
    GetFileTime(file, nullptr, nullptr, &modified);
    ULARGE_INTEGER time{{modified.dwLowDateTime, modified.dwHighDateTime}};
    time.QuadPart -= 3600ULL * 10000000ULL;
    modified = {time.LowPart, time.HighPart};
    SetFileTime(file, nullptr, nullptr, &modified);
    CloseHandle(file);
}

// The file read last, for the per-key reads.
ProfileTarget lastRead;

// Best of three files of that size, each read once.
double FastestRead(const std::wstring& folder, size_t rowCount) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        lastRead = {folder + L"\\rows" + std::to_wstring(rowCount) + L"-" + std::to_wstring(run) + L".db", L"Main"};
        WriteNumberedSection(lastRead.file, rowCount);
        const double start = Seconds();
        const size_t rows = ReadSectionEntries(lastRead).size();
        best = std::min(best, Seconds() - start);
        if (rows != rowCount) std::fprintf(stderr, "read %zu rows of %zu\n", rows, rowCount);
    }
    return best;
}

}  // namespace

int wmain() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"xpv-bench-profile-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);

    const double small = FastestRead(folder, 4000);
    const double large = FastestRead(folder, 64000);
    // One per-key read of the last (now loaded) file, over keys spread through it.
    constexpr int kSampledKeys = 200;
    const double start = Seconds();
    for (int i = 0; i < kSampledKeys; ++i) ReadProfileValue(lastRead, L"key" + std::to_wstring(i * 320), L"");
    const double perKey = (Seconds() - start) / kSampledKeys;

    std::printf("read 4000 rows: %.1f ms, 64000 rows: %.1f ms, one per-key read: %.3f ms\n", small * 1000,
                large * 1000, perKey * 1000);
    // 16 times the rows: linear is about 16, quadratic about 256.
    std::printf("growth ratio: %.1f\n", large / small);
    std::printf("one-pass to per-key ratio: %.3f\n", large / (perKey * 64000));

    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.db").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
    return 0;
}
