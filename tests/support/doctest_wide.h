#pragma once
// doctest with readable wide strings in failure messages.
#include <doctest/doctest.h>

#include <string>
#include <string_view>
#include <vector>

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
template <>
struct StringMaker<std::vector<std::wstring>> {
    static String convert(const std::vector<std::wstring>& texts) {
        std::string joined = "{";
        for (const std::wstring& text : texts) {
            joined += (joined.size() > 1 ? ", L\"" : "L\"") + xpv_test::ToUtf8(text) + "\"";
        }
        return (joined + "}").c_str();
    }
};
}  // namespace doctest
