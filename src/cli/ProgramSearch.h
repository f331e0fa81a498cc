#pragma once
#include <functional>
#include <string>

#include "batch/BatchSearch.h"
#include "cli/OutputStream.h"

// The batch search with its rules (no reparse points, unreadable folders counted as skipped), over
// a tree of any size, run from the console: there is no window to yield to, and Ctrl+C stops it after
// the file in hand. Each program found goes to `found` at once, in the order found; an unthemed
// search's programs with a manifest go to `passedThemed`, when given.
SearchOutcome SearchFolder(const std::wstring& folder, SearchMode mode, bool recurse,
                           const std::function<void(const std::wstring& executablePath)>& found,
                           const std::function<void(const std::wstring& executablePath)>& passedThemed = {});

// Tells what the search left out: skipped folders, as a warning. A stop is told once by the
// command.
void ReportSearchEnd(const std::wstring& folder, const SearchOutcome& outcome, Streams& streams);
