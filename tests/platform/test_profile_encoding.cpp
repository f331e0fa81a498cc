#include <optional>
#include <string>

#include "platform/ProfileEncoding.h"
#include "support/TextBytes.h"
#include "support/doctest_wide.h"

using namespace std::string_literals;

using xpv_test::Utf16Bytes;

TEST_CASE("A profile file's encoding is told by its mark, else by its NUL bytes, else by UTF-8 validity") {
    const std::wstring history = L"[Main]\r\nC:\\Apps\\app.exe.manifest=App >> Tool\r\n";
    // U+4E00 and U+0100 have a zero low byte: a few of them do not turn the pattern round.
    const std::wstring cjk = L"[Main]\r\nC:\\\u4e00\u4e01\\\u0100.exe.manifest=\u4e00 >> \u4e8c\r\n";
    const struct {
        const char* what;
        std::string bytes;
        std::optional<ProfileEncoding> encoding;
    } cases[] = {
        {"UTF-16LE with its mark", "\xFF\xFE" + Utf16Bytes(history, false), ProfileEncoding{TextForm::Utf16Le, true}},
        {"UTF-16BE with its mark", "\xFE\xFF" + Utf16Bytes(history, true), ProfileEncoding{TextForm::Utf16Be, true}},
        {"UTF-8 with its mark", "\xEF\xBB\xBF[Main]\r\nk=caf\xC3\xA9\r\n", ProfileEncoding{TextForm::Utf8, true}},
        {"UTF-16LE without a mark", Utf16Bytes(history, false), ProfileEncoding{TextForm::Utf16Le, false}},
        {"UTF-16LE without a mark, CJK", Utf16Bytes(cjk, false), ProfileEncoding{TextForm::Utf16Le, false}},
        {"UTF-16BE without a mark", Utf16Bytes(history, true), ProfileEncoding{TextForm::Utf16Be, false}},
        {"UTF-8 without a mark", "[Main]\r\nk=caf\xC3\xA9\r\n", ProfileEncoding{TextForm::Utf8, false}},
        {"ASCII", "[Main]\r\nk=v\r\n", ProfileEncoding{TextForm::Ansi, false}},
        {"ANSI that is no UTF-8", "[Main]\r\nk=caf\xE9\r\n", ProfileEncoding{TextForm::Ansi, false}},
        {"empty", "", ProfileEncoding{TextForm::Ansi, false}},
        {"NUL bytes at odd and even places alike", "[M]\0\0a\0b\0\0c"s, std::nullopt},
        {"NUL bytes in an odd number of bytes", "[Main]\0\r\n"s, std::nullopt},
    };
    for (const auto& c : cases) {
        CAPTURE(std::string(c.what));
        const std::optional<ProfileEncoding> detected = DetectProfileEncoding(c.bytes);
        CHECK(detected.has_value() == c.encoding.has_value());
        if (detected && c.encoding) {
            CHECK(detected->form == c.encoding->form);
            CHECK(detected->marked == c.encoding->marked);
        }
    }
}
