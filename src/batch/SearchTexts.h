#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The texts of the Turbo Vestrim search and of its results; no file and no window involved.

enum class SearchMode {
    Themed,    // programs that have a manifest: the search lists manifests, the action removes them
    Unthemed,  // programs without one: the search lists executables, the action writes manifests
};

// A list box reports the item under the mouse in 16 bits: beyond this many lines a click would
// tick the wrong one.
constexpr int kMostResults = 65535;

// "*.exe.manifest" or "*.exe".
std::wstring SearchPatternOf(SearchMode mode);
// The mode line above the folder count, followed by an empty line.
std::wstring SearchHeadingOf(SearchMode mode);
// The caption of the action button after a search in that mode.
std::wstring ApplyCaptionOf(SearchMode mode);

// "Product >> Description (C:\path\app.exe) [00007]": the serial, written with at least five
// digits, is the result's position in the list of paths.
std::wstring ResultLine(std::wstring_view product, std::wstring_view description, std::wstring_view executablePath,
                        int serial);
// The path a result line stands for: the entry of `paths` its serial names; nothing when the line
// carries no serial or the serial lies beyond the list.
std::optional<std::wstring> ResultPathOf(std::wstring_view line, const std::vector<std::wstring>& paths);

struct SearchCounters {
    int64_t scannedDirectories = 0;  // folders entered
    // folders that could not be entered or listed, and programs or folders left out because no
    // path can hold their names
    int64_t skippedDirectories = 0;
    int64_t scannedFiles = 0;        // files examined
    int64_t themedFiles = 0;
    int64_t unthemedFiles = 0;
    int results = 0;  // also the serial of the next result
};

// The folder label: the heading, "Scanned Directories = n", "Skipped Directories = n" when any
// folder was skipped, and "Result limit reached" when the search stopped there; a line break
// after each line.
std::wstring DirectoryProgressText(std::wstring_view heading, const SearchCounters& counters, bool resultLimitReached);
// The file label: the three counts, an empty line and the result line of the file just examined
// (empty when it gave none), a line break after each line.
std::wstring FileProgressText(const SearchCounters& counters, std::wstring_view line);
