#pragma once
#include <optional>
#include <string>
#include <string_view>

inline bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// One code point (at most U+10FFFF) as one or two UTF-16 units.
std::wstring Utf16FromCodePoint(char32_t code);

// UTF-8 of a UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

// UTF-16 of a UTF-8 text, or nothing when the bytes are not well-formed UTF-8
// (stray continuation bytes, overlong forms, encoded surrogates, values beyond U+10FFFF, cut sequences).
std::optional<std::wstring> WideFromUtf8(std::string_view bytes);

// UTF-16 of a text in the system's ANSI code page.
std::wstring WideFromAnsi(std::string_view bytes);
