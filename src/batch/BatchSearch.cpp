#include "batch/BatchSearch.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "batch/FolderIdentity.h"
#include "manifest/ManifestFile.h"
#include "platform/FolderEntries.h"
#include "platform/Throttle.h"

namespace {

// Milliseconds between two repaints of the progress (about 30 a second), and at most between two
// yields while folders are listed and entered without a file to examine. A yield costs as much
// as examining a small file where window messages go through a server, so folders yield by time
// and files one by one.
constexpr DWORD kRefreshInterval = 33;
constexpr DWORD kFolderYieldInterval = 33;

constexpr size_t kManifestEndingLength = 9;  // ".manifest"

// The start of every path in a folder: a drive root loses its backslash, which the name's
// separator puts back.
std::wstring WithoutTrailingBackslash(const std::wstring& directory) {
    if (!directory.empty() && directory.back() == L'\\') return directory.substr(0, directory.size() - 1);
    return directory;
}

bool IsReparsePoint(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

class Search {
public:
    Search(const SearchOptions& options, SearchHost& host)
        : options_(options),
          host_(host),
          ending_(SearchPatternOf(options.mode).substr(1)),
          lastYield_(GetTickCount()) {}

    SearchOutcome Run() {
        Enter(options_.startDirectory);
        // Its own stack of folders, so that no depth of tree can exhaust the thread's.
        while (!path_.empty() && !Ending()) {
            Level& level = path_.back();
            if (level.next == level.subfolders.size()) {
                path_.pop_back();
                continue;
            }
            Enter(WithoutTrailingBackslash(level.directory) + L'\\' + level.subfolders[level.next++]);
        }
        const SearchProgress last = Progress();
        host_.ShowProgress(last);
        return SearchOutcome{end_, last};
    }

private:
    struct Level {
        std::wstring directory;
        std::optional<FolderIdentity> identity;
        std::vector<std::wstring> subfolders;  // in the folder list's order
        size_t next = 0;
    };

    void Enter(const std::wstring& directory) {
        if (Ending()) return;
        FolderEntries entries(directory);
        if (!entries.Readable()) {
            ++counters_.skippedDirectories;
            RefreshIfDue();
            return;
        }
        // The whole listing first, yielding while a long one is read: the folder's files to
        // examine and its subfolders.
        std::vector<std::wstring> files;
        std::vector<std::wstring> subfolders;
        while (!Ending()) {
            const WIN32_FIND_DATAW* entry = entries.Next();
            if (entry == nullptr) break;
            if (IsFileEndingIn(*entry, ending_)) {
                files.emplace_back(entry->cFileName);
            } else if (IsFolderToEnter(*entry)) {
                subfolders.emplace_back(entry->cFileName);
            }
            YieldIfDue();
        }
        if (Ending()) return;
        // Names no path can hold are neither examined nor entered; those the walk would have
        // taken count with the folders it could not enter.
        for (const WIN32_FIND_DATAW& skipped : entries.Skipped()) {
            if (IsFileEndingIn(skipped, ending_) || IsFolderToEnter(skipped)) ++counters_.skippedDirectories;
        }
        // Every folder on the way down has a subfolder (the next one on the way), so a folder
        // without one is none of them, and never lies on the way to another: only folders with
        // subfolders need their identity, which costs as much as a short listing.
        std::optional<FolderIdentity> identity;
        if (!subfolders.empty()) {
            identity = FolderIdentity::Of(directory);
            if (identity && IsOnCurrentPath(*identity)) return;
        }
        ++counters_.scannedDirectories;
        currentFolder_ = directory;
        RefreshIfDue();
        YieldIfDue();

        const std::wstring start = WithoutTrailingBackslash(directory) + L'\\';
        for (const std::wstring& name : files) {
            if (Ending()) return;
            Examine(start + name);
            RefreshIfDue();
            if (Ending()) return;
            YieldNow();
        }
        if (subfolders.empty()) return;
        SortAsFolderList(subfolders);
        path_.push_back(Level{directory, std::move(identity), std::move(subfolders)});
    }

    bool IsFolderToEnter(const WIN32_FIND_DATAW& entry) const {
        return options_.scanSubdirectories && IsFolder(entry) && !IsReparsePoint(entry);
    }

    bool IsOnCurrentPath(const FolderIdentity& identity) const {
        return std::any_of(path_.begin(), path_.end(), [&identity](const Level& level) {
            return level.identity && level.identity->SameAs(identity);
        });
    }

    void Examine(const std::wstring& path) {
        ++counters_.scannedFiles;
        lastResult_.clear();
        if (options_.mode == SearchMode::Themed) {
            // Every manifest is a result, whether or not its executable is still there.
            AddResult(path.substr(0, path.size() - kManifestEndingLength));
            ++counters_.themedFiles;
        } else if (IsManifestPresent(ManifestPathFor(path))) {
            ++counters_.themedFiles;
            host_.PassedThemed(path);
        } else {
            AddResult(path);
            ++counters_.unthemedFiles;
        }
    }

    void AddResult(const std::wstring& executable) {
        host_.AddResult(executable);
        ++counters_.results;
        lastResult_ = executable;
    }

    void YieldIfDue() {
        if (GetTickCount() - lastYield_ >= kFolderYieldInterval) YieldNow();
    }

    void YieldNow() {
        host_.YieldToWindow();
        lastYield_ = GetTickCount();
    }

    // True once the search is to end.
    bool Ending() {
        if (end_ == SearchEnd::Complete && host_.StopRequested()) end_ = SearchEnd::Stopped;
        return end_ != SearchEnd::Complete;
    }

    void RefreshIfDue() {
        if (!refresh_.Due()) return;
        if (currentFolder_ != shownFolder_) {
            shownFolder_ = currentFolder_;
            host_.ShowFolder(shownFolder_);
        }
        host_.ShowProgress(Progress());
    }

    SearchProgress Progress() const { return SearchProgress{counters_, lastResult_}; }

    const SearchOptions& options_;
    SearchHost& host_;
    const std::wstring ending_;  // of the names examined: ".exe" or ".exe.manifest"
    std::vector<Level> path_;  // from the start folder down to the folder being walked
    SearchCounters counters_;
    std::wstring lastResult_;
    std::wstring currentFolder_;
    std::wstring shownFolder_;
    SearchEnd end_ = SearchEnd::Complete;
    DWORD lastYield_;
    Throttle refresh_{kRefreshInterval};
};

}  // namespace

SearchOutcome RunBatchSearch(const SearchOptions& options, SearchHost& host) { return Search(options, host).Run(); }
