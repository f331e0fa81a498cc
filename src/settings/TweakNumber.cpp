#include "settings/TweakNumber.h"

#include <limits>

namespace {

bool IsDigit(wchar_t character) { return character >= L'0' && character <= L'9'; }

// Enough digits to know that the number is out of range, few enough for 64-bit arithmetic.
constexpr std::size_t kSignificantDigitLimit = 11;

}  // namespace

std::optional<std::int32_t> TweakNumberFromText(std::wstring_view text) {
    std::size_t at = text.find_first_not_of(L' ');
    if (at == std::wstring_view::npos) {
        return 0;
    }
    bool negative = false;
    if (text[at] == L'+' || text[at] == L'-') {
        negative = text[at] == L'-';
        ++at;
    }
    // Whole part, exactly: leading zeros do not count towards the digit limit.
    std::int64_t whole = 0;
    std::size_t significantDigits = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        if (whole != 0 || text[at] != L'0') {
            if (++significantDigits > kSignificantDigitLimit) {
                return std::nullopt;
            }
        }
        whole = whole * 10 + (text[at] - L'0');
    }
    // The fraction only decides the rounding: below, at or above one half.
    int fractionVersusHalf = -1;
    if (at < text.size() && text[at] == L'.') {
        ++at;
        if (at < text.size() && IsDigit(text[at])) {
            const wchar_t first = text[at++];
            bool restNonZero = false;
            for (; at < text.size() && IsDigit(text[at]); ++at) {
                restNonZero = restNonZero || text[at] != L'0';
            }
            if (first > L'5' || (first == L'5' && restNonZero)) {
                fractionVersusHalf = 1;
            } else if (first == L'5') {
                fractionVersusHalf = 0;
            }
        }
    }
    if (fractionVersusHalf > 0 || (fractionVersusHalf == 0 && whole % 2 != 0)) {
        ++whole;
    }
    const std::int64_t number = negative ? -whole : whole;
    if (number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(number);
}
