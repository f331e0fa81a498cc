#include "history/HistoryLines.h"

#include <algorithm>

#include "manifest/ManifestFile.h"
#include "platform/TextFunctions.h"

namespace {

constexpr std::wstring_view kManifestEnding = L".manifest";

std::wstring Replace(std::wstring_view text, wchar_t from, wchar_t to) {
    std::wstring result(text);
    std::replace(result.begin(), result.end(), from, to);
    return result;
}

}  // namespace

std::wstring HistoryKeyFor(std::wstring_view manifestPath) { return Replace(manifestPath, L'=', L'|'); }

std::wstring ManifestPathOfHistoryKey(std::wstring_view key) { return Replace(key, L'|', L'='); }

bool IsHistoryEntryPath(std::wstring_view manifestPath) {
    if (!HasManifestName(manifestPath)) return false;
    const auto isLetter = [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); };
    if (manifestPath.size() > 3 && isLetter(manifestPath[0]) && manifestPath[1] == L':' && manifestPath[2] == L'\\') {
        return true;
    }
    // A share: two backslashes, a server name and a share name; not the "\\?\" or "\\.\" forms of devices.
    if (!manifestPath.starts_with(L"\\\\")) return false;
    const size_t serverEnd = manifestPath.find(L'\\', 2);
    if (serverEnd == std::wstring_view::npos || serverEnd == 2) return false;
    const std::wstring_view server = manifestPath.substr(2, serverEnd - 2);
    if (server == L"?" || server == L".") return false;
    const size_t shareEnd = manifestPath.find(L'\\', serverEnd + 1);
    return shareEnd != std::wstring_view::npos && shareEnd > serverEnd + 1;
}

std::wstring HistoryValueFor(std::wstring_view product, std::wstring_view description) {
    return std::wstring(product) + L" >> " + std::wstring(description);
}

HistoryDetails HistoryDetailsOf(std::wstring_view value) {
    constexpr std::wstring_view kSeparator = L" >> ";
    const size_t separator = value.find(kSeparator);
    if (separator != std::wstring_view::npos) {
        return {TrimBlanks(value.substr(0, separator)), TrimBlanks(value.substr(separator + kSeparator.size()))};
    }
    // An editor may have trimmed the blanks of a ">>" at either end.
    const std::wstring trimmed = TrimBlanks(value);
    const std::wstring_view text = trimmed;
    if (text.starts_with(L">>")) return {L"", TrimBlanks(text.substr(2))};
    if (text.ends_with(L">>")) return {TrimBlanks(text.substr(0, text.size() - 2)), L""};
    return {trimmed, L""};
}

std::wstring StoredHistoryValue(std::wstring_view value) { return OnOneLine(value); }

std::wstring ExecutablePathOfManifest(std::wstring_view manifestPath) {
    if (EndsWithIgnoringCase(manifestPath, kManifestEnding)) {
        manifestPath.remove_suffix(kManifestEnding.size());
    }
    return TrimBlanks(manifestPath);
}

bool HasNoDetails(std::wstring_view value) { return TrimBlanks(value) == L">>"; }

std::wstring HistoryDisplayText(std::wstring_view value, std::wstring_view manifestPath, size_t position) {
    std::wstring text = HasNoDetails(value) ? ExecutablePathOfManifest(manifestPath) : std::wstring(value);
    std::wstring digits = std::to_wstring(position);
    if (digits.size() < 5) digits.insert(0, 5 - digits.size(), L'0');
    return text + L" [" + digits + L"]";
}
