#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "history/HistoryStore.h"
#include "manifest/ManifestDocument.h"
#include "manifest/ManifestForExecutable.h"
#include "manifest/OwnManifestReadings.h"
#include "platform/WindowsVersion.h"
#include "theming/ExternalManifestPreference.h"
#include "theming/ManifestNaming.h"
#include "theming/ProgramOutcome.h"

// What every panel and the console program theme and un-theme through: the manifest is written or
// removed, and a written one is recorded in the history (only when it was written). On Windows
// Vista and later the program's last-write time is then set to now, so that the loader, which
// remembers per program path and time whether a program has a manifest, sees the change.
class ThemingService {
public:
    // `yieldDuringRemoval` runs once inside every removal: the window's queued messages.
    explicit ThemingService(HistoryStore& history, std::function<void()> yieldDuringRemoval = {},
                            WindowsVersion windows = CurrentWindowsVersion(),
                            ManifestComposer compose = ComposeManifestDocument, SideBySideKey key = {})
        : history_(history),
          yieldDuringRemoval_(std::move(yieldDuringRemoval)),
          windows_(windows),
          compose_(compose),
          key_(std::move(key)) {}

private:
    friend class ThemingRun;

    HistoryStore& history_;
    std::function<void()> yieldDuringRemoval_;
    WindowsVersion windows_;
    ManifestComposer compose_;
    SideBySideKey key_;
};

// Whether un-theming drops the program's history entry too.
enum class HistoryUpdate { Keep, Forget };

// One action over any number of programs, one program at a time. The history changes it makes
// are gathered and written in one change of the file now and then (each change rewrites the
// whole file, which grows with it) and when the action ends; each program's own manifest is read
// once however often it is asked for.
class ThemingRun {
public:
    explicit ThemingRun(ThemingService& service) : service_(service) {}
    ~ThemingRun() { CommitHistory(); }
    ThemingRun(const ThemingRun&) = delete;
    ThemingRun& operator=(const ThemingRun&) = delete;

    OwnManifestReadings& OwnManifests() { return ownManifests_; }

    // Writes the manifest of the executable with the chosen details, naming the architecture of
    // its PE header, once the side-by-side loader has accepted the document; then records it with
    // the product name and description. A document the loader refuses leaves the previous state
    // (no manifest, or the previous one) and records nothing.
    ProgramOutcome Theme(const std::wstring& executablePath, const DetailsChoice& details);
    // Removes a manifest by the removal rule (one that is not there any more counts as removed),
    // and drops its history entry when asked to.
    ProgramOutcome Untheme(const std::wstring& manifestPath, HistoryUpdate update);
    // Drops the history entry of a manifest that is gone.
    void Forget(const std::wstring& manifestPath);

    // Writes the history changes still pending; what the history could not keep over the whole
    // action so far.
    HistoryCommit CommitHistory();

private:
    // False when the loader may go on using what it remembered of the program until Windows
    // restarts: the time could not be set. Windows XP remembers nothing.
    bool RefreshLoaderCache(const std::wstring& executablePath) const;
    // Whether a program whose own manifest lacks Common Controls 6 keeps its old look here: read
    // once, after the question before the action was settled.
    bool OwnManifestHidesFile();
    void CommitHistoryIfDue();

    ThemingService& service_;
    OwnManifestReadings ownManifests_;
    std::optional<bool> ownManifestHidesFile_;
    std::vector<HistoryStore::Entry> toRecord_;
    std::vector<std::wstring> toDrop_;
    HistoryCommit kept_;
    DWORD lastCommit_ = GetTickCount();
    DWORD commitInterval_ = 1000;
};
