#pragma once
#include <windows.h>

#include <string>

#include "manifest/ManifestFailure.h"

// What came of one program in an action, as every panel and the console program tell it. A
// program is either done (themed, or its manifest gone) or not, with the reason; a done one may
// still carry notes on how the change takes effect.
struct ProgramOutcome {
    std::wstring program;  // the executable's path
    ManifestFailure failure = ManifestFailure::None;
    DWORD platformError = ERROR_SUCCESS;  // the platform's own error, where it gave one
    // Windows could not be told that the program changed: the change shows after a restart.
    bool showsAfterRestart = false;
    // Themed as asked, though its own manifest already gives it the look.
    bool themedByOwnManifest = false;
    // Themed, but its own manifest hides the file beside it on Vista and later, where external
    // manifests are not preferred: it keeps its old look there.
    bool keepsOldLook = false;

    bool Done() const { return failure == ManifestFailure::None; }
    // Done, and nothing to tell.
    bool Plain() const {
        return Done() && !showsAfterRestart && !themedByOwnManifest && !keepsOldLook;
    }
};

// The answer given to the question about external manifests, and what came of it.
struct PreferenceOutcome {
    enum class Kind {
        NotAsked,  // no program needed it, or Windows prefers them already
        Declined,  // the programs are themed as they are
        Set,       // Windows prefers external manifests now
        NotSet,    // the value could not be set (platformError)
    };
    Kind kind = Kind::NotAsked;
    LONG platformError = ERROR_SUCCESS;
};

// What the history could not keep of an action: entries of programs themed it could not record,
// entries of manifests removed it could not drop.
struct HistoryCommit {
    size_t notRecorded = 0;
    size_t notDropped = 0;
};
