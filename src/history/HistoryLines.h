#pragma once
#include <string>
#include <string_view>

// The text side of history.db and of the History panel's lines; no file and no window involved.

// A manifest path as stored as a key: "=" (legal in folder names, but the end of a key in a
// profile line) is written as "|", which no Windows path can contain.
std::wstring HistoryKeyFor(std::wstring_view manifestPath);
// The manifest path a stored key stands for.
std::wstring ManifestPathOfHistoryKey(std::wstring_view key);

// Whether a manifest path read from the history names what this program writes: an absolute path
// (on a drive, "C:\\...", or a share, "\\\\server\\share\\...") whose file name ends in
// ".exe.manifest". Anything else in the file is no entry: never listed, removed or pruned.
bool IsHistoryEntryPath(std::wstring_view manifestPath);

// The product name, " >> " and the description.
std::wstring HistoryValueFor(std::wstring_view product, std::wstring_view description);

struct HistoryDetails {
    std::wstring product;
    std::wstring description;
    bool operator==(const HistoryDetails&) const = default;
};
// The two details of a value, split at its first " >> " and trimmed; a value trimmed at either
// end (">>", ">> description", "product >>") splits at that ">>", and one without it is all
// product.
HistoryDetails HistoryDetailsOf(std::wstring_view value);

// A value as stored: control characters (line breaks, tabs, NUL), which a version resource may
// hold, become blanks, so that a value stays one line of the file.
std::wstring StoredHistoryValue(std::wstring_view value);

// The executable a manifest belongs to: the path without its final ".manifest".
std::wstring ExecutablePathOfManifest(std::wstring_view manifestPath);

// An entry's value that holds no details: nothing but ">>" (and blanks).
bool HasNoDetails(std::wstring_view value);

// The line shown for an entry: its value, or the executable's path when it has no details;
// then " [", the position with at least five digits, and "]".
std::wstring HistoryDisplayText(std::wstring_view value, std::wstring_view manifestPath, size_t position);

