#pragma once
// Changes to a profile file made so that none can leave it half-written or reach anything but the
// file itself: the whole file is read, changed in memory, and put in the file's place in one
// step. No window involved.
#include <functional>
#include <string>
#include <vector>

// One line of a profile file.
struct ProfileLine {
    std::wstring text;    // as the platform reads it, without its line end
    std::wstring ending;  // "\r\n", "\n", or empty on a last line that has none
    std::string stored;   // its bytes in the file, line end included; empty when new or changed

    static ProfileLine New(std::wstring text) { return {std::move(text), L"\r\n", {}}; }
    void Change(std::wstring newText) {
        text = std::move(newText);
        stored.clear();
    }
};

// Changes the lines in place; false when it changed nothing.
using ProfileLinesEdit = std::function<bool(std::vector<ProfileLine>& lines)>;

// What a rewrite does when the file is missing: create it, or leave it missing (true: nothing to change).
enum class MissingProfile { Create, LeaveMissing };

// Whether a profile file may be read and changed: a regular file (no folder, device or pipe) that
// is no link or junction (see IsLinkOrJunction) and has no other name (see HasOtherNames), or
// nothing at all. A file behind a link is another file than the one named; one with other names
// would be parted from them by its first change.
bool IsPlainProfilePath(const std::wstring& path);

// Reads the file, lets `edit` change its lines and, when it changed any, puts the new text in the
// file's place in one step: written to a temporary file beside it, which then replaces it and
// takes its attributes. The file then holds all of the change or none of it.
// Refused, with the file left as it was: anything IsPlainProfilePath refuses, a read-only file, a
// file of bytes in no known encoding (see DetectProfileEncoding), a write that fails (a full
// disk).
// The file keeps its encoding, except that an ANSI file whose changed lines its code page cannot
// hold, and a file the platform would misread (UTF-16 or UTF-8 without a byte-order mark), are
// rewritten as UTF-16LE with its mark, as a new file is; a misread file is converted even when
// the edit changes nothing. A missing file is edited as an empty one, then created or left
// missing as `missing` says. True when the file holds the change, or needed none.
bool RewriteProfileFile(const std::wstring& path, const ProfileLinesEdit& edit, MissingProfile missing);

// Prepares the file for the platform's profile reads: converts a file they would misread (see
// RewriteProfileFile). True when they will read it as it is meant, or it is missing; false when it
// is refused or could not be converted, and so must not be read through them.
bool MakeProfileReadable(const std::wstring& path);
