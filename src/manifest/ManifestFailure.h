#pragma once
#include <windows.h>

// Why a manifest could not be written or removed, in the terms a user is told.
enum class ManifestFailure {
    None,
    InTheWay,      // something that is no file (a folder) bears the manifest's name
    AccessDenied,  // no right to write in the folder or to change the file
    InUse,         // another program holds the file open
    Foreign,       // another maker's manifest, where no Recycle Bin could keep it
    NotAManifest,  // not a regular file named "*.exe.manifest": never removed
    NotOurs,       // another maker's manifest already there: never overwritten
    BehindLink,    // a folder of the path, or the manifest itself, is a link or junction
    Missing,       // nothing there (any more)
    Rejected,      // the side-by-side loader refused the document written
    Other,         // anything else the platform reports
};

// The failure a platform error code stands for.
ManifestFailure FailureFromError(DWORD error);

// The outcome of writing a manifest: true when it was written.
struct ManifestWrite {
    ManifestFailure failure = ManifestFailure::None;
    DWORD platformError = ERROR_SUCCESS;  // the loader's reason for a rejected document
    explicit operator bool() const { return failure == ManifestFailure::None; }
};
