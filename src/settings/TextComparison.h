#pragma once
#include <string_view>

// Equal when upper-cased alike; blanks count.
bool SameTextIgnoringCase(std::wstring_view first, std::wstring_view second);
