#pragma once
// doctest with readable wide strings in failure messages.
#include <doctest/doctest.h>

#include <string>
#include <string_view>

namespace xpv_test {
std::string ToUtf8(std::wstring_view text);
}

namespace doctest {
template <>
struct StringMaker<std::wstring> {
    static String convert(const std::wstring& text) {
        return ("L\"" + xpv_test::ToUtf8(text) + "\"").c_str();
    }
};
}  // namespace doctest
