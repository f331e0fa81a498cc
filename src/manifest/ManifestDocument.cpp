#include "manifest/ManifestDocument.h"

#include <array>
#include <optional>
#include <vector>

#include "manifest/XmlText.h"
#include "platform/TextEncoding.h"

namespace {

constexpr std::wstring_view kLineEnd = L"\r\n";

// The document, one entry per line, with its blanks. Text in braces stands for a value.
constexpr std::array<std::wstring_view, 22> kDocumentLines = {
    L"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>",
    L"<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">",
    L"<assemblyIdentity",
    L"    version = \"1.0.0.0\"",
    L"    processorArchitecture = \"{architecture}\"",
    L"    name = \"[{company}].[{product}].[{applicationName}]\"",
    L"    type=\"win32\"",
    L"/>",
    L"<description>{description}</description>",
    L"<dependency>",
    L"    <dependentAssembly>",
    L"        <assemblyIdentity",
    L"            type=\"win32\"",
    L"            name = \"Microsoft.Windows.Common-Controls\"",
    L"            version = \"6.0.0.0\"",
    L"            processorArchitecture = \"{architecture}\"",
    L"            publicKeyToken = \"6595b64144ccf1df\"",
    L"            language = \"*\"",
    L"        />",
    L"    </dependentAssembly>",
    L"</dependency>",
    L"</assembly>",
};

struct Placeholder {
    std::wstring_view name;
    std::wstring value;
};

// Calls literal(text) for each fixed part and value(name) for each placeholder, in order.
template <typename Literal, typename Value>
void WalkLine(std::wstring_view line, Literal literal, Value value) {
    size_t from = 0;
    for (size_t open = line.find(L'{'); open != std::wstring_view::npos; open = line.find(L'{', from)) {
        const size_t close = line.find(L'}', open);
        literal(line.substr(from, open - from));
        value(line.substr(open + 1, close - open - 1));
        from = close + 1;
    }
    literal(line.substr(from));
}

// Whether a line matches its template when every placeholder may stand for any text.
bool MatchesTemplate(std::wstring_view line, std::wstring_view pattern) {
    std::vector<std::wstring_view> literals;
    WalkLine(pattern, [&](std::wstring_view part) { literals.push_back(part); }, [](std::wstring_view) {});
    const std::wstring_view first = literals.front();
    const std::wstring_view last = literals.back();
    if (literals.size() == 1) return line == first;
    if (line.size() < first.size() + last.size() || line.substr(0, first.size()) != first ||
        line.substr(line.size() - last.size()) != last) {
        return false;
    }
    // The fixed parts between the first and the last, in order, leftmost first.
    std::wstring_view middle = line.substr(first.size(), line.size() - first.size() - last.size());
    for (size_t index = 1; index + 1 < literals.size(); ++index) {
        const size_t at = middle.find(literals[index]);
        if (at == std::wstring_view::npos) return false;
        middle.remove_prefix(at + literals[index].size());
    }
    return true;
}

}  // namespace

std::string ComposeManifestDocument(const ManifestDetails& details, ProcessorArchitecture architecture) {
    const std::array<Placeholder, 5> values = {{
        {L"architecture", std::wstring(ProcessorArchitectureText(architecture))},
        {L"company", EscapeXmlText(details.company)},
        {L"product", EscapeXmlText(details.product)},
        {L"applicationName", EscapeXmlText(details.applicationName)},
        {L"description", EscapeXmlText(details.description)},
    }};
    std::wstring text;
    for (const std::wstring_view line : kDocumentLines) {
        WalkLine(
            line, [&](std::wstring_view part) { text += part; },
            [&](std::wstring_view name) {
                for (const Placeholder& placeholder : values) {
                    if (placeholder.name == name) text += placeholder.value;
                }
            });
        text += kLineEnd;
    }
    text += kLineEnd;
    return Utf8FromWide(text);
}

std::wstring DecodeManifestBytes(std::string_view bytes) {
    if (std::optional<std::wstring> text = WideFromUtf8(bytes)) {
        if (!text->empty() && text->front() == L'\uFEFF') text->erase(0, 1);
        return *text;
    }
    return WideFromAnsi(bytes);
}

bool IsOwnManifestDocument(std::wstring_view text) {
    for (const std::wstring_view pattern : kDocumentLines) {
        const size_t end = text.find(kLineEnd);
        if (end == std::wstring_view::npos || !MatchesTemplate(text.substr(0, end), pattern)) return false;
        text.remove_prefix(end + kLineEnd.size());
    }
    return text.empty() || text == kLineEnd;
}
