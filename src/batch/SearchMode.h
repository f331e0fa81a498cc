#pragma once
#include <cstdint>
#include <string>

// What the batch search looks for, and what it counts; no file and no window involved.

enum class SearchMode {
    Themed,    // programs that have a manifest: the search lists manifests, the action removes them
    Unthemed,  // programs without one: the search lists executables, the action writes manifests
};

// "*.exe.manifest" or "*.exe".
std::wstring SearchPatternOf(SearchMode mode);

struct SearchCounters {
    int64_t scannedDirectories = 0;  // folders entered
    // folders that could not be entered or listed, and programs or folders left out because no
    // path can hold their names
    int64_t skippedDirectories = 0;
    int64_t scannedFiles = 0;        // files examined
    int64_t themedFiles = 0;
    int64_t unthemedFiles = 0;
    int64_t results = 0;
};
