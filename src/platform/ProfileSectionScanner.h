#pragma once
// The section names of a profile file, read by a parser of its own that is stricter than the
// platform's: a ";" anywhere starts a comment, and a header must end with its first "]".
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The line without its comment (from the first ";" on) and without leading and trailing blanks
// (U+0020 only; tabs stay).
std::wstring StripProfileComment(std::wstring_view line);

// Every section name of a profile text in file order, each followed by NUL, then one more NUL
// ("\0\0" when there is none). Lines end at a carriage return, a line feed or both. A line is a
// header when, comment and blanks stripped, it starts with "[" and its first "]" is its last
// character; the name is what stands between the brackets.
std::wstring ScanSectionNames(std::wstring_view profileText);

// The names of ScanSectionNames in order, up to the first empty one: a header "[]" ends the list.
std::vector<std::wstring> ListSectionNames(std::wstring_view profileText);

// ListSectionNames of the file; nullopt when it cannot be read.
std::optional<std::vector<std::wstring>> ListProfileSections(const std::wstring& file);
