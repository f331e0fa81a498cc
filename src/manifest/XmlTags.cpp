#include "manifest/XmlTags.h"

#include <algorithm>

#include "manifest/XmlText.h"

namespace {

constexpr std::wstring_view kBlanks = L" \t\r\n";

struct Skipped {
    std::wstring_view opening;
    std::wstring_view closing;
};

// What stands between "<" and ">" without being an element; the longer openings first.
constexpr Skipped kSkipped[] = {
    {L"<!--", L"-->"}, {L"<![CDATA[", L"]]>"}, {L"<?", L"?>"}, {L"<!", L">"},
};

// Where the tag that starts at `start` ends (the position of its ">"), quoted values passed over.
size_t TagEnd(std::wstring_view text, size_t start) {
    wchar_t quote = 0;
    for (size_t at = start; at < text.size(); ++at) {
        const wchar_t unit = text[at];
        if (quote) {
            if (unit == quote) quote = 0;
        } else if (unit == L'"' || unit == L'\'') {
            quote = unit;
        } else if (unit == L'>') {
            return at;
        }
    }
    return std::wstring_view::npos;
}

std::wstring_view WithoutPrefix(std::wstring_view name) {
    const size_t colon = name.rfind(L':');
    return colon == std::wstring_view::npos ? name : name.substr(colon + 1);
}

}  // namespace

std::optional<std::wstring> XmlTag::Attribute(std::wstring_view attributeName) const {
    std::wstring_view rest = attributes;
    for (;;) {
        const size_t nameStart = rest.find_first_not_of(kBlanks);
        if (nameStart == std::wstring_view::npos) return std::nullopt;
        const size_t equals = rest.find(L'=', nameStart);
        if (equals == std::wstring_view::npos) return std::nullopt;
        std::wstring_view name = rest.substr(nameStart, equals - nameStart);
        name = name.substr(0, name.find_last_not_of(kBlanks) + 1);
        const size_t open = rest.find_first_not_of(kBlanks, equals + 1);
        if (open == std::wstring_view::npos || (rest[open] != L'"' && rest[open] != L'\'')) return std::nullopt;
        const size_t close = rest.find(rest[open], open + 1);
        if (close == std::wstring_view::npos) return std::nullopt;
        if (name == attributeName) return UnescapeXmlText(rest.substr(open + 1, close - open - 1));
        rest.remove_prefix(close + 1);
    }
}

std::vector<XmlTag> ScanXmlTags(std::wstring_view text) {
    std::vector<XmlTag> tags;
    size_t at = text.find(L'<');
    while (at != std::wstring_view::npos) {
        const std::wstring_view rest = text.substr(at);
        const Skipped* skipped = nullptr;
        for (const Skipped& candidate : kSkipped) {
            if (rest.starts_with(candidate.opening)) {
                skipped = &candidate;
                break;
            }
        }
        size_t end;
        if (skipped) {
            end = text.find(skipped->closing, at + skipped->opening.size());
            if (end != std::wstring_view::npos) end += skipped->closing.size() - 1;
        } else {
            end = TagEnd(text, at);
            if (end == std::wstring_view::npos) break;
            std::wstring_view inside = text.substr(at + 1, end - at - 1);
            XmlTag tag;
            if (inside.starts_with(L'/')) {
                tag.kind = XmlTag::Kind::Closing;
                inside.remove_prefix(1);
            } else if (inside.ends_with(L'/')) {
                tag.kind = XmlTag::Kind::Empty;
                inside.remove_suffix(1);
            }
            const size_t nameEnd = std::min(inside.find_first_of(kBlanks), inside.size());
            tag.name = WithoutPrefix(inside.substr(0, nameEnd));
            tag.attributes = inside.substr(nameEnd);
            tags.push_back(tag);
        }
        if (end == std::wstring_view::npos) break;
        at = text.find(L'<', end + 1);
    }
    return tags;
}
