#include "platform/ProfileSectionScanner.h"

#include "platform/IniEditor.h"
#include "platform/TextFunctions.h"

namespace {

void AppendHeaderName(std::wstring_view line, std::wstring& names) {
    if (line.size() >= 2 && line.front() == L'[' && line.find(L']') == line.size() - 1) {
        names.append(line.substr(1, line.size() - 2));
        names.push_back(L'\0');
    }
}

}  // namespace

std::wstring StripProfileComment(std::wstring_view line) {
    return TrimBlanks(line.substr(0, line.find(L';')));
}

std::wstring ScanSectionNames(std::wstring_view profileText) {
    std::wstring names;
    size_t start = 0;
    // A CR LF pair ends a line and then an empty one, which can never be a header.
    while (start < profileText.size()) {
        size_t end = profileText.find_first_of(L"\r\n", start);
        if (end == std::wstring_view::npos) {
            end = profileText.size();
        }
        AppendHeaderName(StripProfileComment(profileText.substr(start, end - start)), names);
        start = end + 1;
    }
    names.push_back(L'\0');
    if (names.size() == 1) {
        names.push_back(L'\0');
    }
    return names;
}

std::vector<std::wstring> ListSectionNames(std::wstring_view profileText) {
    const std::wstring list = ScanSectionNames(profileText);
    std::vector<std::wstring> names;
    size_t start = 0;
    while (list[start] != L'\0') {
        const size_t end = list.find(L'\0', start);
        names.emplace_back(list, start, end - start);
        start = end + 1;
    }
    return names;
}

std::optional<std::vector<std::wstring>> ListProfileSections(const std::wstring& file) {
    const std::optional<std::wstring> text = ReadProfileText(file);
    if (!text) {
        return std::nullopt;
    }
    return ListSectionNames(*text);
}
