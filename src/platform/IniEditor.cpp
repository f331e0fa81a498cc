#include "platform/IniEditor.h"

#include <windows.h>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "platform/ProfileEncoding.h"
#include "platform/ProfileRewrite.h"
#include "platform/TextEncoding.h"
#include "platform/TextFunctions.h"
#include "platform/WholeFile.h"

namespace {

// The per-key read buffer: the limit plus the terminating NUL.
constexpr DWORD kValueBuffer = kProfileValueLimit + 1;

// What the profile functions trim around keys and values.
constexpr std::wstring_view kProfileBlanks = L" \t\n\v\f\r\x1a";

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

// The key's whole value through the platform's per-key read, the buffer grown until it fits.
std::wstring ReadWholeProfileValue(const ProfileTarget& target, const std::wstring& key) {
    DWORD size = 1024;
    for (;;) {
        std::wstring buffer(size, L'\0');
        const DWORD copied = GetPrivateProfileStringW(target.section.c_str(), key.c_str(), L"", buffer.data(),
                                                      size, target.file.c_str());
        // A value cut short is reported as size - 1 characters.
        if (copied + 1 < size || size > MAXDWORD / 4) {
            buffer.resize(copied);
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

// The section a header line opens, as the profile functions read headers; nothing for other lines.
std::optional<std::wstring_view> HeaderName(std::wstring_view line) {
    line = TrimProfileBlanks(line);
    if (line.empty() || line.front() != L'[') return std::nullopt;
    const size_t close = line.rfind(L']');
    if (close == std::wstring_view::npos) return std::nullopt;
    return line.substr(1, close - 1);
}

// The key a line gives, as the per-key functions match it: the text before "=" (the whole line
// without one), trimmed; nothing for comments, empty keys and headers.
std::optional<std::wstring_view> LineKey(std::wstring_view line) {
    if (HeaderName(line)) return std::nullopt;
    const std::wstring_view key = TrimProfileBlanks(line.substr(0, line.find(L'=')));
    if (key.empty() || key.front() == L';') return std::nullopt;
    return key;
}

// The lines of the target's section (the first of its name, as the profile functions read it):
// the header's position and the end of its lines; no header when the section is missing.
struct SectionLines {
    std::optional<size_t> header;
    size_t end = 0;
};

SectionLines FindSection(const std::vector<ProfileLine>& lines, const std::wstring& section) {
    const std::wstring wanted = UpperCase(section);
    SectionLines found;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::optional<std::wstring_view> header = HeaderName(lines[i].text);
        if (!header) continue;
        if (found.header) {
            found.end = i;
            return found;
        }
        if (UpperCase(*header) == wanted) found.header = i;
    }
    found.end = lines.size();
    return found;
}

// Where a new key line of the section goes: after its last line that is not blank.
size_t EndOfSectionKeys(const std::vector<ProfileLine>& lines, const SectionLines& section) {
    size_t end = *section.header + 1;
    for (size_t i = end; i < section.end; ++i) {
        if (!TrimProfileBlanks(lines[i].text).empty()) end = i + 1;
    }
    return end;
}

// Sets the keys' lines in the section, adding lines (and the section) where missing; a key given
// twice takes its last value. One pass over the section, whatever the number of keys.
bool SetKeyLines(std::vector<ProfileLine>& lines, const std::wstring& sectionName,
                 const std::vector<ProfileEntry>& entries) {
    SectionLines section = FindSection(lines, sectionName);
    if (!section.header) {
        lines.push_back(ProfileLine::New(L'[' + sectionName + L']'));
        section = {lines.size() - 1, lines.size()};
    }
    std::unordered_map<std::wstring, size_t> lineOfKey;
    for (size_t i = *section.header + 1; i < section.end; ++i) {
        const std::optional<std::wstring_view> lineKey = LineKey(lines[i].text);
        if (lineKey) lineOfKey.try_emplace(UpperCase(*lineKey), i);
    }
    std::vector<ProfileLine> added;
    std::unordered_map<std::wstring, size_t> addedOfKey;
    for (const ProfileEntry& entry : entries) {
        const std::wstring wanted = UpperCase(entry.key);
        if (const auto existing = lineOfKey.find(wanted); existing != lineOfKey.end()) {
            // The line keeps its key as written, as the platform's own write does.
            ProfileLine& line = lines[existing->second];
            line.Change(std::wstring(*LineKey(line.text)) + L'=' + entry.value);
        } else if (const auto pending = addedOfKey.find(wanted); pending != addedOfKey.end()) {
            added[pending->second].Change(entry.key + L'=' + entry.value);
        } else {
            addedOfKey.emplace(wanted, added.size());
            added.push_back(ProfileLine::New(entry.key + L'=' + entry.value));
        }
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(EndOfSectionKeys(lines, section)), added.begin(),
                 added.end());
    return true;
}

bool RemoveKeyLines(std::vector<ProfileLine>& lines, const std::wstring& sectionName,
                    const std::unordered_set<std::wstring>& upperCasedKeys) {
    const SectionLines section = FindSection(lines, sectionName);
    if (!section.header) return false;
    const auto first = lines.begin() + static_cast<std::ptrdiff_t>(*section.header + 1);
    const auto last = lines.begin() + static_cast<std::ptrdiff_t>(section.end);
    const auto kept = std::remove_if(first, last, [&](const ProfileLine& line) {
        const std::optional<std::wstring_view> key = LineKey(line.text);
        return key && upperCasedKeys.count(UpperCase(*key)) > 0;
    });
    if (kept == last) return false;
    lines.erase(kept, last);
    return true;
}

bool ReplaceSectionLines(std::vector<ProfileLine>& lines, const std::wstring& sectionName,
                         const std::vector<ProfileEntry>& rows) {
    std::vector<ProfileLine> rowLines;
    rowLines.reserve(rows.size());
    for (const ProfileEntry& row : rows) rowLines.push_back(ProfileLine::New(row.key + L'=' + StoredForm(row.value)));
    const SectionLines section = FindSection(lines, sectionName);
    if (!section.header) {
        lines.push_back(ProfileLine::New(L'[' + sectionName + L']'));
        lines.insert(lines.end(), rowLines.begin(), rowLines.end());
        return true;
    }
    const auto first = lines.begin() + static_cast<std::ptrdiff_t>(*section.header + 1);
    lines.erase(first, lines.begin() + static_cast<std::ptrdiff_t>(section.end));
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*section.header + 1), rowLines.begin(), rowLines.end());
    return true;
}

}  // namespace

std::wstring ProfileValueAsRead(std::wstring_view storedValue, ValueLength length) {
    const bool quoted = IsEnclosedInQuotes(storedValue);
    const std::wstring_view rest = quoted ? storedValue.substr(1) : storedValue;
    if (length == ValueLength::Whole) return std::wstring(quoted ? rest.substr(0, rest.size() - 1) : rest);
    std::wstring value(rest.substr(0, kProfileValueLimit));
    if (quoted && rest.size() <= kValueBuffer) {
        value.pop_back();
    }
    return value;
}

ParsedSection ParseSectionText(std::wstring_view sectionText, ValueLength length) {
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
            {std::wstring(key), ProfileValueAsRead(TrimProfileBlanks(line.substr(equals + 1)), length)});
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
    return WriteProfileValues(target, {{key, value}});
}

bool WriteProfileValues(const ProfileTarget& target, const std::vector<ProfileEntry>& entries) {
    if (!std::all_of(entries.begin(), entries.end(), IsStorable)) return false;
    return RewriteProfileFile(
        target.file, [&](std::vector<ProfileLine>& lines) { return SetKeyLines(lines, target.section, entries); },
        MissingProfile::Create);
}

std::vector<ProfileEntry> ReadSectionEntries(const ProfileTarget& target, ValueLength length) {
    ParsedSection parsed = ParseSectionText(ReadSectionText(target), length);
    for (const size_t row : parsed.repeatedKeyRows) {
        const std::wstring& key = parsed.rows[row].key;
        parsed.rows[row].value =
            length == ValueLength::Whole ? ReadWholeProfileValue(target, key) : ReadProfileValue(target, key, L"");
    }
    return std::move(parsed.rows);
}

bool WriteSectionEntries(const ProfileTarget& target, const std::vector<ProfileEntry>& rows) {
    if (!std::all_of(rows.begin(), rows.end(), IsStorable)) {
        return false;
    }
    return RewriteProfileFile(
        target.file, [&](std::vector<ProfileLine>& lines) { return ReplaceSectionLines(lines, target.section, rows); },
        MissingProfile::Create);
}

std::optional<std::wstring> ReadProfileText(const std::wstring& path) {
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    const ProfileEncoding encoding = PlatformProfileEncoding(*bytes);
    const std::string_view text = std::string_view(*bytes).substr(encoding.MarkSize());
    // The platform gives up on malformed UTF-8 where a file says it holds UTF-8.
    if (encoding.form == TextForm::Utf8) return WideFromUtf8(text);
    return DecodeProfileText(text, encoding.form);
}

bool RemoveSectionKeys(const ProfileTarget& target, const std::vector<std::wstring>& keys) {
    std::unordered_set<std::wstring> dropped;
    for (const std::wstring& key : keys) dropped.insert(UpperCase(key));
    return RewriteProfileFile(
        target.file, [&](std::vector<ProfileLine>& lines) { return RemoveKeyLines(lines, target.section, dropped); },
        MissingProfile::LeaveMissing);
}

void ForgetCachedProfile(const std::wstring& file) {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
}
