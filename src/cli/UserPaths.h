#pragma once
#include <optional>
#include <string>
#include <string_view>

// Paths as a user types them on the command line, in the form the history and the messages
// write: full ("." and ".." resolved, the current folder put in front), without a "\\?\" prefix,
// without a trailing backslash except at a drive root ("C:\"). Nothing when the text is no path
// (empty, wildcards, or one the platform cannot make full).
std::optional<std::wstring> FullUserPath(std::wstring_view typed);

enum class PathKind { Missing, File, Folder };

// Paths of any length.
PathKind KindOfPath(const std::wstring& path);

// A program, as the window and the search take one: a file whose name ends in ".exe".
bool HasProgramName(std::wstring_view path);
