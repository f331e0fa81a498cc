#pragma once
#include <string>

#include "batch/SearchMode.h"

// The Turbo Vestrim search: a walk of one folder or a whole tree that examines every executable
// (or manifest) in it and reports what it finds (paths and counters) to its host. No window involved.

struct SearchOptions {
    // As the folder list shows it: "C:\" at a drive root, no trailing backslash elsewhere.
    std::wstring startDirectory;
    SearchMode mode = SearchMode::Unthemed;
    bool scanSubdirectories = true;
};

struct SearchProgress {
    SearchCounters counters;
    // The file examined last when it was a result (the executable's path); empty when it was
    // none, or before the first file.
    std::wstring lastResult;
};

// What the search asks of the window that runs it. Every call comes from inside the search, on
// the thread that started it; the host lives until RunBatchSearch returns, so a window closed
// during a yield must answer StopRequested with true and go away only afterwards.
class SearchHost {
public:
    virtual ~SearchHost() = default;
    // Runs the window's queued messages: after every file, and every few hundredths of a second
    // while folders are listed and entered.
    virtual void YieldToWindow() = 0;
    // True when the search must end after the file in hand: STOP was pressed, or the window
    // closes (or the yield met the application's quit message).
    virtual bool StopRequested() = 0;
    // The folder being examined, as the folder list shows it; about 30 times a second at most.
    virtual void ShowFolder(const std::wstring& directory) = 0;
    // The counters; about 30 times a second at most, and once more at the end.
    virtual void ShowProgress(const SearchProgress& progress) = 0;
    // One result, in the order found: the executable's path (of a manifest found, the path its
    // executable has or had).
    virtual void AddResult(const std::wstring& executablePath) = 0;
    // An unthemed search's program that has a manifest beside it, and so is no result: for a
    // host that lists both kinds in one walk.
    virtual void PassedThemed(const std::wstring& /*executablePath*/) {}
};

enum class SearchEnd { Complete, Stopped };

struct SearchOutcome {
    SearchEnd end = SearchEnd::Complete;
    SearchProgress progress;  // as last shown
};

// Walks the tree depth first, each folder's files before its subfolders, the subfolders in the
// folder list's order; with scanSubdirectories off, the start folder alone. A folder that cannot
// be entered or listed is counted as skipped and the walk goes on; so is a program or folder
// whose name no Windows path can hold (see IsUsableName), which is never examined or entered.
// Folders that are reparse points (junctions, symbolic links, mount points) are not entered, nor
// is a folder that is already on the way down to it. Paths of any length are walked, and results
// of any number found; a host with a limit stops the search itself.
SearchOutcome RunBatchSearch(const SearchOptions& options, SearchHost& host);
