#include "manifest/ManifestReadBack.h"

#include <string>

#include "manifest/XmlText.h"
#include "platform/TextFunctions.h"

namespace {

// The text as a line-by-line reader hands it on: every line followed by CR LF.
std::wstring WorkingText(std::wstring_view text) {
    std::wstring working;
    working.reserve(text.size() + 2);
    size_t from = 0;
    while (from < text.size()) {
        const size_t end = text.find(L'\r', from);
        if (end == std::wstring_view::npos) {
            working += text.substr(from);
            from = text.size();
        } else {
            working += text.substr(from, end - from);
            from = end + 1;
            if (from < text.size() && text[from] == L'\n') ++from;
        }
        working += L"\r\n";
    }
    return working;
}

// The text inside the first pair of square brackets.
std::wstring Bracketed(std::wstring_view text) { return TextAfter(L"[", TextBefore(L"]", text)); }

}  // namespace

ManifestDetails ReadBackManifestDetails(std::wstring_view manifestText) {
    const std::wstring working = WorkingText(manifestText);
    std::wstring name = TextBefore(L"\r\n", TextAfter(L"name = ", working));
    ManifestDetails details;
    details.company = Bracketed(name);
    name = TextAfter(L"]", name);
    details.product = Bracketed(name);
    name = TextAfter(L"]", name);
    details.applicationName = Bracketed(name);
    details.description = TextBefore(L"</description>", TextAfter(L"<description>", working));

    for (std::wstring* detail : {&details.company, &details.product, &details.applicationName, &details.description}) {
        *detail = UnescapeXmlText(*detail);
    }
    return details;
}
