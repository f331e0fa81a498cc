#include "platform/IniEditor.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "platform/TextEncoding.h"
#include "platform/TextFunctions.h"
#include "platform/WholeFile.h"

namespace {

// The per-key read buffer: the limit plus the terminating NUL.
constexpr DWORD kValueBuffer = kProfileValueLimit + 1;

// What the profile functions trim around keys and values.
constexpr std::wstring_view kProfileBlanks = L" \t\n\v\f\r\x1a";

constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::wstring FromUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring text(bytes.size() / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<wchar_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    return text;
}

bool StartsWithByteOrderMark(std::string_view bytes) {
    return bytes.starts_with(kUtf16LeBom) || bytes.starts_with(kUtf16BeBom) ||
           bytes.starts_with(kUtf8Bom);
}

// The platform reads a file with a byte-order mark in that encoding, any other in the ANSI code
// page. Malformed UTF-8 gives nothing.
std::optional<std::wstring> DecodeProfileBytes(std::string_view bytes) {
    if (bytes.starts_with(kUtf16LeBom)) {
        return FromUtf16(bytes.substr(kUtf16LeBom.size()), false);
    }
    if (bytes.starts_with(kUtf16BeBom)) {
        return FromUtf16(bytes.substr(kUtf16BeBom.size()), true);
    }
    if (bytes.starts_with(kUtf8Bom)) {
        return WideFromUtf8(bytes.substr(kUtf8Bom.size()));
    }
    return WideFromAnsi(bytes);
}

std::string Utf16LeFileBytes(std::wstring_view text) {
    std::string bytes(kUtf16LeBom);
    const size_t bomSize = bytes.size();
    bytes.resize(bomSize + text.size() * sizeof(wchar_t));
    std::memcpy(bytes.data() + bomSize, text.data(), text.size() * sizeof(wchar_t));
    return bytes;
}

// Best-fit replacements count as not holdable: the platform would silently change the text.
bool AnsiCanHold(std::wstring_view text) {
    if (text.empty()) {
        return true;
    }
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         &usedDefault);
    return size > 0 && !usedDefault;
}

// Rewrites the ANSI file as UTF-16LE, line for line; the original stays as it was on failure.
bool ConvertProfileToUnicode(const std::wstring& path) {
    const std::optional<std::wstring> text = ReadProfileText(path);
    return text && ReplaceWholeFile(path, Utf16LeFileBytes(*text));
}

// Makes sure the profile functions will store Unicode texts in the file without loss: a
// missing file is created holding only the UTF-16LE byte-order mark (the platform keeps the
// encoding it finds), an ANSI file is converted when the texts need it.
bool PrepareProfileFile(const std::wstring& path, bool textsNeedUnicode) {
    const std::optional<std::string> head = ReadWholeFile(path, kUtf8Bom.size());
    if (!head) {
        return GetLastError() == ERROR_FILE_NOT_FOUND &&
               WriteNewFile(path, kUtf16LeBom, CREATE_NEW);
    }
    if (!textsNeedUnicode || StartsWithByteOrderMark(*head)) {
        return true;
    }
    return ConvertProfileToUnicode(path);
}

DWORD FileSizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        data.nFileSizeHigh != 0) {
        return 0;
    }
    return data.nFileSizeLow;
}

// The section's "key=value" items, each followed by NUL, in one platform call: the text is never
// longer than the file, so a buffer of the file's size fits it (grown if the file grew meanwhile).
std::wstring ReadSectionText(const ProfileTarget& target) {
    DWORD size = std::max<DWORD>(FileSizeOf(target.file) + 16, 1024);
    for (;;) {
        std::wstring buffer(size, L'\0');
        const DWORD written = GetPrivateProfileSectionW(target.section.c_str(), buffer.data(),
                                                        size, target.file.c_str());
        // A full buffer is reported as size - 2 characters.
        if (written + 2 < size || size > MAXDWORD / 4) {
            buffer.resize(written);
            return buffer;
        }
        size *= 2;
    }
}

std::wstring_view TrimProfileBlanks(std::wstring_view text) {
    const size_t first = text.find_first_not_of(kProfileBlanks);
    if (first == std::wstring_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kProfileBlanks) - first + 1);
}

bool IsProfileBlank(wchar_t character) {
    return kProfileBlanks.find(character) != std::wstring_view::npos;
}

bool IsQuoteChar(wchar_t character) {
    return character == L'"' || character == L'\'';
}

bool IsEnclosedInQuotes(std::wstring_view text) {
    return text.size() >= 2 && IsQuoteChar(text.front()) && text.back() == text.front();
}

bool HoldsLineBreakOrNul(std::wstring_view text) {
    return text.find_first_of(std::wstring_view(L"\r\n\0", 3)) != std::wstring_view::npos;
}

bool IsStorable(const ProfileEntry& row) {
    const std::wstring_view key = row.key;
    return !key.empty() && key.find(L'=') == std::wstring_view::npos && key.front() != L';' &&
           key.front() != L'[' && !IsProfileBlank(key.front()) && !IsProfileBlank(key.back()) &&
           !HoldsLineBreakOrNul(key) && !HoldsLineBreakOrNul(row.value);
}

// Values that the read would trim or unquote are written in quotes, which the read removes.
std::wstring StoredForm(const std::wstring& value) {
    const bool needsQuotes = !value.empty() && (IsProfileBlank(value.front()) ||
                                                IsProfileBlank(value.back()) ||
                                                IsEnclosedInQuotes(value));
    return needsQuotes ? L'"' + value + L'"' : value;
}

}  // namespace

std::wstring ProfileValueAsRead(std::wstring_view storedValue) {
    const bool quoted = IsEnclosedInQuotes(storedValue);
    const std::wstring_view rest = quoted ? storedValue.substr(1) : storedValue;
    std::wstring value(rest.substr(0, kProfileValueLimit));
    if (quoted && rest.size() <= kValueBuffer) {
        value.pop_back();
    }
    return value;
}

ParsedSection ParseSectionText(std::wstring_view sectionText) {
    // Keys are compared in one upper-cased copy of the whole text, at the same offsets.
    const std::wstring folded = UpperCase(sectionText);
    const size_t lineCount = std::count(sectionText.begin(), sectionText.end(), L'\0') + 1;
    std::unordered_map<std::wstring_view, size_t> linesPerKey;
    linesPerKey.reserve(lineCount);
    std::vector<std::wstring_view> foldedRowKeys;
    foldedRowKeys.reserve(lineCount);
    ParsedSection parsed;
    parsed.rows.reserve(lineCount);
    size_t start = 0;
    while (start < sectionText.size()) {
        size_t end = sectionText.find(L'\0', start);
        if (end == std::wstring_view::npos) {
            end = sectionText.size();
        }
        const std::wstring_view line = sectionText.substr(start, end - start);
        start = end + 1;
        const size_t equals = line.find(L'=');
        const std::wstring_view key = TrimProfileBlanks(line.substr(0, equals));
        if (key.empty() || key.front() == L';') {
            continue;
        }
        // Lines without "=" still hide a later line of the same key from a per-key read.
        const std::wstring_view foldedKey =
            std::wstring_view(folded).substr(key.data() - sectionText.data(), key.size());
        ++linesPerKey[foldedKey];
        if (equals == std::wstring_view::npos) {
            continue;
        }
        parsed.rows.push_back(
            {std::wstring(key), ProfileValueAsRead(TrimProfileBlanks(line.substr(equals + 1)))});
        foldedRowKeys.push_back(foldedKey);
    }
    for (size_t row = 0; row < foldedRowKeys.size(); ++row) {
        if (linesPerKey[foldedRowKeys[row]] > 1) {
            parsed.repeatedKeyRows.push_back(row);
        }
    }
    return parsed;
}

std::wstring ReadProfileValue(const ProfileTarget& target, const std::wstring& key,
                              const std::wstring& defaultValue) {
    wchar_t buffer[kValueBuffer];
    const DWORD copied =
        GetPrivateProfileStringW(target.section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                 kValueBuffer, target.file.c_str());
    return std::wstring(buffer, copied);
}

bool WriteProfileValue(const ProfileTarget& target, const std::wstring& key,
                       const std::wstring& value) {
    const bool needsUnicode =
        !AnsiCanHold(target.section) || !AnsiCanHold(key) || !AnsiCanHold(value);
    return PrepareProfileFile(target.file, needsUnicode) &&
           WritePrivateProfileStringW(target.section.c_str(), key.c_str(), value.c_str(),
                                      target.file.c_str());
}

void DeleteProfileKey(const ProfileTarget& target, const std::wstring& key) {
    WritePrivateProfileStringW(target.section.c_str(), key.c_str(), nullptr, target.file.c_str());
}

std::vector<ProfileEntry> ReadSectionEntries(const ProfileTarget& target) {
    ParsedSection parsed = ParseSectionText(ReadSectionText(target));
    for (const size_t row : parsed.repeatedKeyRows) {
        parsed.rows[row].value = ReadProfileValue(target, parsed.rows[row].key, L"");
    }
    return std::move(parsed.rows);
}

bool WriteSectionEntries(const ProfileTarget& target, const std::vector<ProfileEntry>& rows) {
    if (!std::all_of(rows.begin(), rows.end(), IsStorable)) {
        return false;
    }
    std::wstring body;
    for (const ProfileEntry& row : rows) {
        body += row.key + L'=' + StoredForm(row.value) + L'\0';
    }
    body += L'\0';  // ends the list even when it has no rows
    const bool needsUnicode = !AnsiCanHold(target.section) || !AnsiCanHold(body);
    return PrepareProfileFile(target.file, needsUnicode) &&
           WritePrivateProfileSectionW(target.section.c_str(), body.c_str(), target.file.c_str());
}

std::optional<std::wstring> ReadProfileText(const std::wstring& path) {
    const std::optional<std::string> bytes = ReadWholeFile(path);
    return bytes ? DecodeProfileBytes(*bytes) : std::nullopt;
}

namespace {

// How the platform reads a profile file's bytes: the encoding its byte-order mark names, else
// the ANSI code page.
struct ProfileEncoding {
    size_t markSize = 0;
    size_t unitSize = 1;
    bool bigEndian = false;
    bool utf8 = false;
};

ProfileEncoding EncodingOf(std::string_view bytes) {
    if (bytes.starts_with(kUtf16LeBom)) return {kUtf16LeBom.size(), 2, false, false};
    if (bytes.starts_with(kUtf16BeBom)) return {kUtf16BeBom.size(), 2, true, false};
    if (bytes.starts_with(kUtf8Bom)) return {kUtf8Bom.size(), 1, false, true};
    return {};
}

std::wstring DecodeLine(std::string_view line, const ProfileEncoding& encoding) {
    if (encoding.unitSize == 2) return FromUtf16(line, encoding.bigEndian);
    if (encoding.utf8) {
        if (std::optional<std::wstring> text = WideFromUtf8(line)) return *text;
    }
    return WideFromAnsi(line);
}

bool IsLineFeed(std::string_view bytes, size_t at, const ProfileEncoding& encoding) {
    if (encoding.unitSize == 1) return bytes[at] == '\n';
    const char high = encoding.bigEndian ? bytes[at] : bytes[at + 1];
    const char low = encoding.bigEndian ? bytes[at + 1] : bytes[at];
    return high == '\0' && low == '\n';
}

// The file's lines as byte ranges, each with its line end.
std::vector<std::string_view> SplitLines(std::string_view bytes, const ProfileEncoding& encoding) {
    std::vector<std::string_view> lines;
    size_t start = encoding.markSize;
    const size_t end = bytes.size() - (bytes.size() - encoding.markSize) % encoding.unitSize;
    for (size_t at = start; at < end; at += encoding.unitSize) {
        if (IsLineFeed(bytes, at, encoding)) {
            lines.push_back(bytes.substr(start, at + encoding.unitSize - start));
            start = at + encoding.unitSize;
        }
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

// The section a header line opens, as the profile functions read headers; nothing for other lines.
std::optional<std::wstring_view> HeaderName(std::wstring_view line) {
    if (line.empty() || line.front() != L'[') return std::nullopt;
    const size_t close = line.rfind(L']');
    if (close == std::wstring_view::npos) return std::nullopt;
    return line.substr(1, close - 1);
}

}  // namespace

bool RemoveSectionKeys(const ProfileTarget& target, const std::vector<std::wstring>& keys) {
    const std::optional<std::string> bytes = ReadWholeFile(target.file);
    if (!bytes) {
        return false;
    }
    std::unordered_set<std::wstring> dropped;
    for (const std::wstring& key : keys) dropped.insert(UpperCase(key));
    const std::wstring section = UpperCase(target.section);

    const ProfileEncoding encoding = EncodingOf(*bytes);
    std::string kept(bytes->substr(0, encoding.markSize));
    enum { Before, Inside, After } place = Before;
    bool removedAny = false;
    for (const std::string_view line : SplitLines(*bytes, encoding)) {
        const std::wstring text = DecodeLine(line, encoding);
        const std::wstring_view trimmed = TrimProfileBlanks(text);
        if (const std::optional<std::wstring_view> header = HeaderName(trimmed)) {
            if (place == Inside) place = After;
            if (place == Before && UpperCase(*header) == section) place = Inside;
        } else if (place == Inside) {
            const std::wstring_view key = TrimProfileBlanks(trimmed.substr(0, trimmed.find(L'=')));
            if (!key.empty() && dropped.count(UpperCase(key))) {
                removedAny = true;
                continue;
            }
        }
        kept.append(line);
    }
    return !removedAny || ReplaceWholeFile(target.file, kept);
}

void ForgetCachedProfile(const std::wstring& file) {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
}
