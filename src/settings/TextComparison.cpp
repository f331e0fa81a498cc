#include "settings/TextComparison.h"

#include <windows.h>

#include <string>

namespace {

std::wstring Upper(std::wstring_view text) {
    std::wstring upper(text);
    if (!upper.empty()) {
        CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    }
    return upper;
}

}  // namespace

bool SameTextIgnoringCase(std::wstring_view first, std::wstring_view second) {
    return first.size() == second.size() && Upper(first) == Upper(second);
}
