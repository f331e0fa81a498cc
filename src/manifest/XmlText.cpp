#include "manifest/XmlText.h"

#include <optional>

#include "platform/TextEncoding.h"

namespace {

struct NamedEntity {
    wchar_t character;
    std::wstring_view reference;
};

constexpr NamedEntity kNamedEntities[] = {
    {L'&', L"&amp;"}, {L'<', L"&lt;"}, {L'>', L"&gt;"}, {L'"', L"&quot;"}, {L'\'', L"&apos;"},
};

bool IsForbiddenInXml(wchar_t unit) { return unit < 0x20 || unit == 0xFFFE || unit == 0xFFFF; }

// The code point of "&#123;" or "&#x7B;" (without '&' and ';'), if it names one XML allows.
std::optional<char32_t> NumericReference(std::wstring_view body) {
    if (body.size() < 2 || body[0] != L'#') return std::nullopt;
    const bool hex = body[1] == L'x' || body[1] == L'X';
    const std::wstring_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    char32_t code = 0;
    for (const wchar_t digit : digits) {
        int value;
        if (digit >= L'0' && digit <= L'9') {
            value = digit - L'0';
        } else if (hex && digit >= L'a' && digit <= L'f') {
            value = digit - L'a' + 10;
        } else if (hex && digit >= L'A' && digit <= L'F') {
            value = digit - L'A' + 10;
        } else {
            return std::nullopt;
        }
        code = code * (hex ? 16 : 10) + static_cast<char32_t>(value);
    }
    const bool allowed = code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
                         (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
    if (!allowed) return std::nullopt;
    return code;
}

}  // namespace

std::wstring EscapeXmlText(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            out += unit;
            out += text[++i];
            continue;
        }
        if (IsForbiddenInXml(unit) || IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            out += L' ';
            continue;
        }
        bool named = false;
        for (const NamedEntity& entity : kNamedEntities) {
            if (unit == entity.character) {
                out += entity.reference;
                named = true;
                break;
            }
        }
        if (!named) out += unit;
    }
    return out;
}

std::wstring UnescapeXmlText(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == L'&') {
            const size_t end = text.find(L';', i);
            if (end != std::wstring_view::npos) {
                const std::wstring_view reference = text.substr(i, end - i + 1);
                bool replaced = false;
                for (const NamedEntity& entity : kNamedEntities) {
                    if (reference == entity.reference) {
                        out += entity.character;
                        replaced = true;
                        break;
                    }
                }
                if (!replaced) {
                    if (const auto code = NumericReference(reference.substr(1, reference.size() - 2))) {
                        out += Utf16FromCodePoint(*code);
                        replaced = true;
                    }
                }
                if (replaced) {
                    i = end + 1;
                    continue;
                }
            }
        }
        out += text[i++];
    }
    return out;
}
