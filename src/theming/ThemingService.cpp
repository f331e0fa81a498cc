#include "theming/ThemingService.h"

#include <algorithm>

#include "history/HistoryLines.h"
#include "manifest/ManifestFile.h"
#include "platform/LastWriteTime.h"
#include "platform/LongPath.h"

namespace {

// The history is written at least this often while an action runs, and never takes more than a
// fifth of its time: the file grows, and each change rewrites all of it.
constexpr DWORD kShortestCommitInterval = 1000;
constexpr DWORD kCommitShare = 5;

}  // namespace

ProgramOutcome ThemingRun::Theme(const std::wstring& executablePath, const DetailsChoice& details) {
    ProgramOutcome outcome{.program = executablePath};
    // A program that went since it was listed gets no manifest.
    if (GetFileAttributesW(PathForFileCalls(executablePath).c_str()) == INVALID_FILE_ATTRIBUTES) {
        outcome.failure = ManifestFailure::Missing;
        return outcome;
    }
    const ManifestDetails chosen = ChosenDetails(executablePath, details);
    const ManifestWrite write = WriteManifestForExecutable(executablePath, chosen, service_.compose_);
    outcome.failure = write.failure;
    outcome.platformError = write.platformError;
    if (!outcome.Done()) return outcome;
    toRecord_.push_back({ManifestPathFor(executablePath), HistoryValueFor(chosen.product, chosen.description)});
    outcome.showsAfterRestart = !RefreshLoaderCache(executablePath);
    const OwnManifest own = ownManifests_.Of(executablePath);
    outcome.themedByOwnManifest = own == OwnManifest::AsksForCommonControls6;
    outcome.keepsOldLook = own == OwnManifest::WithoutCommonControls6 && OwnManifestHidesFile();
    CommitHistoryIfDue();
    return outcome;
}

ProgramOutcome ThemingRun::Untheme(const std::wstring& manifestPath, HistoryUpdate update) {
    const std::wstring executablePath = ExecutablePathOfManifest(manifestPath);
    ProgramOutcome outcome{.program = executablePath};
    const ManifestRemoval removal = RemoveManifest(manifestPath, service_.yieldDuringRemoval_);
    if (removal.failure != ManifestFailure::Missing) {
        if (removal.outcome == RemovalOutcome::NotRemoved) {
            outcome.failure = removal.failure;
            return outcome;
        }
        outcome.showsAfterRestart = !RefreshLoaderCache(executablePath);
    }
    if (update == HistoryUpdate::Forget) {
        Forget(manifestPath);
    } else {
        CommitHistoryIfDue();
    }
    return outcome;
}

void ThemingRun::Forget(const std::wstring& manifestPath) {
    toDrop_.push_back(manifestPath);
    CommitHistoryIfDue();
}

HistoryCommit ThemingRun::CommitHistory() {
    const DWORD started = GetTickCount();
    HistoryStore& history = service_.history_;
    if (!toRecord_.empty() && !history.Record(toRecord_)) kept_.notRecorded += toRecord_.size();
    if (!toDrop_.empty() && !history.Drop(toDrop_)) kept_.notDropped += toDrop_.size();
    toRecord_.clear();
    toDrop_.clear();
    lastCommit_ = GetTickCount();
    commitInterval_ = std::max(kShortestCommitInterval, (lastCommit_ - started) * kCommitShare);
    return kept_;
}

void ThemingRun::CommitHistoryIfDue() {
    if (GetTickCount() - lastCommit_ >= commitInterval_) CommitHistory();
}

bool ThemingRun::OwnManifestHidesFile() {
    if (!ownManifestHidesFile_) {
        ownManifestHidesFile_ = service_.windows_.IsVistaOrLater() && !ExternalManifestsPreferred(service_.key_);
    }
    return *ownManifestHidesFile_;
}

bool ThemingRun::RefreshLoaderCache(const std::wstring& executablePath) const {
    if (!service_.windows_.IsVistaOrLater()) return true;
    const DWORD error = SetLastWriteTimeToNow(executablePath);
    // A manifest without its program leaves the loader nothing to remember.
    return error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
