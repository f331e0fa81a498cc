#pragma once
#include <algorithm>
#include <string>

namespace xpv_test {

// A fixture folder as the build gives it ("Z:/...") in the form the program itself writes and
// compares paths in, with backslashes.
inline std::wstring FixturePath(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

}  // namespace xpv_test
