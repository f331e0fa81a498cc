#pragma once
#include <string>
#include <string_view>

// Text made safe to stand in XML attribute values and element content: the five reserved
// characters become entity references, and characters XML cannot carry at all (C0 controls,
// U+FFFE, U+FFFF, unpaired surrogates) become blanks. Line breaks and tabs become blanks too:
// inside an attribute a parser would turn them into blanks anyway, and a line break would split
// a line of the manifest.
std::wstring EscapeXmlText(std::wstring_view text);

// The reverse for the five named entities and numeric character references; anything else,
// such as a bare "&" written by older versions, stays as it is.
std::wstring UnescapeXmlText(std::wstring_view text);
