#pragma once
#include <string>
#include <string_view>

#include "batch/SearchMode.h"

// The texts of the Turbo Vestrim panel: its progress labels, its result lines and its action
// button.

// A list box reports the item under the mouse in 16 bits: beyond this many lines a click would
// tick the wrong one, so a search ends there as STOP would.
constexpr int64_t kMostResults = 65535;

// The mode line above the folder count, followed by an empty line.
std::wstring SearchHeadingOf(SearchMode mode);
// The caption of the action button after a search in that mode.
std::wstring ApplyCaptionOf(SearchMode mode);

// "Product >> Description (C:\path\app.exe) [00007]": the serial, written with at least five
// digits, is the result's place in the order found.
std::wstring ResultLine(std::wstring_view product, std::wstring_view description, std::wstring_view executablePath,
                        int64_t serial);

// The folder label: the heading, "Scanned Directories = n", "Skipped Directories = n" when any
// folder was skipped, and "Result limit reached" when the search stopped there; a line break
// after each line.
std::wstring DirectoryProgressText(std::wstring_view heading, const SearchCounters& counters, bool resultLimitReached);
// The file label: the three counts, an empty line and the result line of the file just examined
// (empty when it gave none), a line break after each line.
std::wstring FileProgressText(const SearchCounters& counters, std::wstring_view line);
