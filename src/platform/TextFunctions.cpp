#include "platform/TextFunctions.h"

#include <windows.h>

namespace {

// Positions are 16-bit signed in the stored formats these texts come from.
constexpr size_t kLargestPosition = 32767;

// 0-based index of the first occurrence, ignoring letter case, or npos.
size_t FindIgnoringCase(std::wstring_view delimiter, std::wstring_view text) {
    return UpperCase(text).find(UpperCase(delimiter));
}

}  // namespace

std::wstring UpperCase(std::wstring_view text) {
    std::wstring upper(text);
    if (!upper.empty()) {
        CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    }
    return upper;
}

bool SameTextIgnoringCase(std::wstring_view first, std::wstring_view second) {
    return first.size() == second.size() && UpperCase(first) == UpperCase(second);
}

bool EndsWithIgnoringCase(std::wstring_view text, std::wstring_view ending) {
    return text.size() >= ending.size() && SameTextIgnoringCase(text.substr(text.size() - ending.size()), ending);
}

std::wstring TrimBlanks(std::wstring_view text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(L' ');
    return std::wstring(text.substr(first, last - first + 1));
}

std::wstring TextBefore(std::wstring_view delimiter, std::wstring_view text) {
    const size_t at = FindIgnoringCase(delimiter, text);
    if (at == std::wstring_view::npos || at + 1 > kLargestPosition) {
        return {};
    }
    return TrimBlanks(text.substr(0, at));
}

std::wstring TextAfter(std::wstring_view delimiter, std::wstring_view text) {
    const size_t at = FindIgnoringCase(delimiter, text);
    size_t from;
    if (at == std::wstring_view::npos) {
        from = delimiter.empty() ? 0 : delimiter.size() - 1;
    } else {
        from = at + delimiter.size();
    }
    if (from >= text.size()) {
        return {};
    }
    return TrimBlanks(text.substr(from));
}

std::wstring OnOneLine(std::wstring_view text) {
    std::wstring line(text);
    for (wchar_t& character : line) {
        if (character < 0x20 || character == 0x7F) character = L' ';
    }
    return line;
}
