#include "platform/ProfileEncoding.h"

#include <windows.h>

#include <algorithm>

#include "platform/TextEncoding.h"

namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::wstring FromUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring text(bytes.size() / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<wchar_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    return text;
}

std::string ToUtf16(std::wstring_view text, bool bigEndian) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const wchar_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

std::string ToAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// UTF-16 without a mark, told by where its NUL bytes stand: the high byte of every character
// below U+0100 is zero, and profile files are mostly made of such characters.
std::optional<ProfileEncoding> Utf16ByItsNuls(std::string_view bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    size_t nulsAtEven = 0;
    size_t nulsAtOdd = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\0') ++(i % 2 == 0 ? nulsAtEven : nulsAtOdd);
    }
    if (nulsAtOdd > 2 * nulsAtEven) return ProfileEncoding{TextForm::Utf16Le, false};
    if (nulsAtEven > 2 * nulsAtOdd) return ProfileEncoding{TextForm::Utf16Be, false};
    return std::nullopt;
}

}  // namespace

size_t ProfileEncoding::MarkSize() const { return marked ? ByteOrderMarkOf(form).size() : 0; }

std::string_view ByteOrderMarkOf(TextForm form) {
    switch (form) {
        case TextForm::Ansi:
            return {};
        case TextForm::Utf8:
            return kUtf8Mark;
        case TextForm::Utf16Le:
            return kUtf16LeMark;
        case TextForm::Utf16Be:
            return kUtf16BeMark;
    }
    return {};
}

ProfileEncoding PlatformProfileEncoding(std::string_view bytes) {
    for (const TextForm form : {TextForm::Utf16Le, TextForm::Utf16Be, TextForm::Utf8}) {
        if (bytes.starts_with(ByteOrderMarkOf(form))) return {form, true};
    }
    return {};
}

std::optional<ProfileEncoding> DetectProfileEncoding(std::string_view bytes) {
    const ProfileEncoding platform = PlatformProfileEncoding(bytes);
    if (platform.marked) return platform;
    if (bytes.find('\0') != std::string_view::npos) return Utf16ByItsNuls(bytes);
    const bool beyondAscii = std::any_of(bytes.begin(), bytes.end(), [](char byte) { return (byte & 0x80) != 0; });
    if (beyondAscii && WideFromUtf8(bytes)) return ProfileEncoding{TextForm::Utf8, false};
    return ProfileEncoding{};
}

std::wstring DecodeProfileText(std::string_view bytes, TextForm form) {
    switch (form) {
        case TextForm::Ansi:
            return WideFromAnsi(bytes);
        case TextForm::Utf8:
            if (std::optional<std::wstring> text = WideFromUtf8(bytes)) return *text;
            return WideFromAnsi(bytes);
        case TextForm::Utf16Le:
            return FromUtf16(bytes, false);
        case TextForm::Utf16Be:
            return FromUtf16(bytes, true);
    }
    return {};
}

std::string EncodeProfileText(std::wstring_view text, TextForm form) {
    switch (form) {
        case TextForm::Ansi:
            return ToAnsi(text);
        case TextForm::Utf8:
            return Utf8FromWide(text);
        case TextForm::Utf16Le:
            return ToUtf16(text, false);
        case TextForm::Utf16Be:
            return ToUtf16(text, true);
    }
    return {};
}

bool AnsiCanHold(std::wstring_view text) {
    if (text.empty()) return true;
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, &usedDefault);
    return size > 0 && !usedDefault;
}
