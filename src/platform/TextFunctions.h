#pragma once
#include <string>
#include <string_view>

// Text cut at the first occurrence of a delimiter, letter case ignored, result trimmed of blanks.
// TextBefore: the part before the occurrence; empty when the delimiter is missing.
// TextAfter: the part after it; when the delimiter is missing, the text from the character whose
// 1-based position equals the delimiter's length (a one-character delimiter gives the whole text).
std::wstring TextBefore(std::wstring_view delimiter, std::wstring_view text);
std::wstring TextAfter(std::wstring_view delimiter, std::wstring_view text);

// The text with every letter in upper case, as the platform folds letter case for comparisons.
std::wstring UpperCase(std::wstring_view text);
// Equal, or ending alike, when upper-cased alike; blanks count.
bool SameTextIgnoringCase(std::wstring_view first, std::wstring_view second);
bool EndsWithIgnoringCase(std::wstring_view text, std::wstring_view ending);

// Leading and trailing blanks (U+0020 only) removed.
std::wstring TrimBlanks(std::wstring_view text);
// The text with control characters (line breaks, tabs) as blanks, so that it stays on its line.
std::wstring OnOneLine(std::wstring_view text);
