#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "history/HistoryStore.h"
#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFailure.h"
#include "manifest/ManifestForExecutable.h"
#include "manifest/OwnManifest.h"
#include "manifest/OwnManifestReadings.h"
#include "platform/WindowsVersion.h"

// What every panel that themes or un-themes programs goes through: the manifest is written or
// removed, and a written one is recorded in the history (only when it was written). On Windows
// Vista and later the program's last-write time is then set to now, so that the loader, which
// remembers per program path and time whether a program has a manifest, sees the change.
class ThemingService {
public:
    // `yieldDuringRemoval` runs once inside every removal: the window's queued messages.
    explicit ThemingService(HistoryStore& history, std::function<void()> yieldDuringRemoval = {},
                            WindowsVersion windows = CurrentWindowsVersion(),
                            ManifestComposer compose = ComposeManifestDocument)
        : history_(history),
          yieldDuringRemoval_(std::move(yieldDuringRemoval)),
          windows_(windows),
          compose_(compose) {}

    struct ThemeOutcome {
        ManifestFailure failure = ManifestFailure::None;
        bool recorded = false;                // the history entry is in place too
        DWORD platformError = ERROR_SUCCESS;  // why the loader refused the document (Rejected)
        bool loaderMayRemember = false;       // the time could not be set: the change shows after a restart
        OwnManifest ownManifest = OwnManifest::None;  // of a program that was themed
        bool written() const { return failure == ManifestFailure::None; }
    };

    // Writes the manifest of the executable with these details, naming the architecture of its
    // PE header, once the side-by-side loader has accepted the document; then records it with the
    // product name and description. A document the loader refuses leaves the previous state
    // (no manifest, or the previous one) and records nothing. The program's own manifest is taken
    // from the action's readings.
    ThemeOutcome Theme(const std::wstring& executablePath, const ManifestDetails& details,
                       OwnManifestReadings& ownManifests);

    struct UnthemeOutcome {
        // None when it is gone (deleted, in the Recycle Bin, or not there any more); otherwise
        // why it stays.
        ManifestFailure failure = ManifestFailure::None;
        bool loaderMayRemember = false;  // as for ThemeOutcome
    };

    // Removes a manifest by the removal rule. The history is left alone.
    UnthemeOutcome RemoveTheme(const std::wstring& manifestPath);

private:
    // False when the loader may go on using what it remembered of the program until Windows
    // restarts: the time could not be set. Windows XP remembers nothing.
    bool RefreshLoaderCache(const std::wstring& executablePath) const;

    HistoryStore& history_;
    std::function<void()> yieldDuringRemoval_;
    WindowsVersion windows_;
    ManifestComposer compose_;
};
