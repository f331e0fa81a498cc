#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

// The number an "Int" tweak text stands for: leading blanks skipped, an optional sign, decimal
// digits with an optional decimal point and fraction, read up to the first character that cannot
// continue it (no number at all is 0), rounded to the nearest whole number with halves going to
// the even neighbour. nullopt when the result lies outside the signed 32-bit range, so that such
// a text is never written as some other number.
std::optional<std::int32_t> TweakNumberFromText(std::wstring_view text);
