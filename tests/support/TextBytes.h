#pragma once
// Text as the bytes of a file in UTF-16, without a byte-order mark, for fixtures in that form.
#include <string>
#include <string_view>

namespace xpv_test {

inline std::string Utf16Bytes(std::wstring_view text, bool bigEndian) {
    std::string bytes;
    for (const wchar_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

}  // namespace xpv_test
