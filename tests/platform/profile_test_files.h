#pragma once
// Helpers for the profile tests on real files: file contents in the encodings profile files
// come in. Lists of names and rows print through the shared test headers.
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/TextEncoding.h"
#include "support/TempFolder.h"
#include "support/TextBytes.h"
#include "support/doctest_profile.h"

namespace profile_test {

// The text in the ANSI code page, as a file without a byte-order mark holds it.
inline std::string Ansi(std::wstring_view text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

inline std::string Utf8WithBom(std::wstring_view text) {
    return "\xEF\xBB\xBF" + Utf8FromWide(text);
}

inline std::string Utf16WithBom(std::wstring_view text, bool bigEndian) {
    return (bigEndian ? "\xFE\xFF" : "\xFF\xFE") + xpv_test::Utf16Bytes(text, bigEndian);
}

inline std::string Utf16Le(std::wstring_view text) { return Utf16WithBom(text, false); }

inline void WriteTestFile(const std::wstring& path, std::string_view bytes) {
    REQUIRE(xpv_test::WriteBytes(path, bytes));
}

using xpv_test::AnyFileMatches;

}  // namespace profile_test
