#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "manifest/ManifestFailure.h"

// The manifest of an executable: its full path followed by ".manifest".
std::wstring ManifestPathFor(const std::wstring& executablePath);

// A file of exactly that path exists, whatever its read-only, hidden, system or archive
// attributes; a folder of that name is none. Paths of any length.
bool IsFilePresent(const std::wstring& path);
// A manifest is present when a file of its path exists (see IsFilePresent).
bool IsManifestPresent(const std::wstring& manifestPath);

// The file's bytes; nothing when it cannot be opened or read (held open without sharing,
// missing, a folder) or is larger than any manifest. Paths of any length.
std::optional<std::string> ReadManifestFile(const std::wstring& manifestPath);

// What a manifest file is: the document this program writes, another maker's, or not readable
// (see ReadManifestFile).
enum class ManifestKind { Unreadable, OwnDocument, Foreign };
ManifestKind ClassifyManifest(const std::wstring& manifestPath);

// A check of the bytes in their temporary file, before they take the manifest's place:
// ERROR_SUCCESS lets them, any other code rejects them with that reason.
using ManifestCheck = std::function<DWORD(const std::wstring& writtenFile)>;

// Writes the bytes as the manifest, hidden and system. A manifest already there is replaced,
// whatever its attributes, only when it has the shape of the document this program writes;
// another maker's is kept (NotOurs), and nothing is written where a folder of the path or the
// manifest itself is a link or junction (BehindLink), both checked at the moment of writing. The
// bytes go to a temporary file in the same folder first, which then takes the manifest's place
// once the check (if any) passes: when anything fails, the previous manifest (if any) is left as
// it was, no temporary file remains, and the result tells why. Paths of any length.
ManifestWrite WriteManifestFile(const std::wstring& manifestPath, std::string_view bytes,
                                const ManifestCheck& check = {});

enum class RemovalOutcome {
    Removed,           // deleted: it was a manifest this program wrote
    SentToRecycleBin,  // another maker's manifest, which the user can restore
    NotRemoved,        // still in place, or not there at all: the failure tells which and why
};

struct ManifestRemoval {
    RemovalOutcome outcome = RemovalOutcome::NotRemoved;
    ManifestFailure failure = ManifestFailure::None;
    bool operator==(RemovalOutcome other) const { return outcome == other; }
};

// Whether a path names what a removal may touch: a file name ending in ".exe.manifest".
bool HasManifestName(std::wstring_view path);

// Removes a manifest: its attributes set to normal, `yield` run once (the caller's window takes its
// queued messages there), then it is deleted when it has the shape of the document this program
// writes, else sent to the Recycle Bin. Anything but a regular file named "*.exe.manifest" (a
// folder, a link or junction, any other name) is refused untouched, and so is a manifest reached
// through a folder that is a link or junction (BehindLink). A manifest that stays where it was
// keeps its attributes. Paths of any length.
ManifestRemoval RemoveManifest(const std::wstring& manifestPath, const std::function<void()>& yield = {});
