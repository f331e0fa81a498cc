#pragma once
#include <functional>
#include <string>

#include "history/HistoryStore.h"
#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFailure.h"

// What every panel that themes or un-themes programs goes through: the manifest is written or
// removed, and a written one is recorded in the history (only when it was written).
class ThemingService {
public:
    // `yieldDuringRemoval` runs once inside every removal: the window's queued messages.
    explicit ThemingService(HistoryStore& history, std::function<void()> yieldDuringRemoval = {})
        : history_(history), yieldDuringRemoval_(std::move(yieldDuringRemoval)) {}

    struct ThemeOutcome {
        ManifestFailure failure = ManifestFailure::None;
        bool recorded = false;  // the history entry is in place too
        bool written() const { return failure == ManifestFailure::None; }
    };

    // Writes the manifest of the executable with these details, naming the architecture of its
    // PE header, then records it with the product name and description.
    ThemeOutcome Theme(const std::wstring& executablePath, const ManifestDetails& details);

    // Removes a manifest by the removal rule. None when it is gone (deleted, in the Recycle Bin,
    // or not there any more); otherwise why it stays. The history is left alone.
    ManifestFailure Untheme(const std::wstring& manifestPath);

private:
    HistoryStore& history_;
    std::function<void()> yieldDuringRemoval_;
};
