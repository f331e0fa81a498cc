#pragma once
#include <string>

#include "history/HistoryStore.h"
#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFile.h"

// What every panel that themes or un-themes programs goes through: the manifest is written or
// removed, and a written one is recorded in the history (only when it was written).
class ThemingService {
public:
    explicit ThemingService(HistoryStore& history) : history_(history) {}

    struct ThemeOutcome {
        bool written = false;   // the manifest is in place
        bool recorded = false;  // and its history entry too
    };

    // Writes the manifest of the executable with these details, naming the architecture of its
    // PE header, then records it with the product name and description.
    ThemeOutcome Theme(const std::wstring& executablePath, const ManifestDetails& details);

    // Removes a manifest by the removal rule: true when it is gone (deleted or in the Recycle
    // Bin). The history is left alone.
    bool Untheme(const std::wstring& manifestPath);

private:
    HistoryStore& history_;
};
