#include "cli/Table.h"

#include <algorithm>
#include <cwchar>

#include "platform/TextEncoding.h"
#include "platform/TextFunctions.h"

namespace {

std::wstring CsvField(std::wstring_view field) {
    if (field.find_first_of(L",\"\r\n") == std::wstring_view::npos) return std::wstring(field);
    std::wstring quoted = L"\"";
    for (const wchar_t character : field) {
        if (character == L'"') quoted += L'"';
        quoted += character;
    }
    return quoted + L'"';
}

std::wstring JsonEscape(wchar_t unit) {
    wchar_t escaped[8];
    std::swprintf(escaped, 8, L"\\u%04x", static_cast<unsigned>(unit));
    return escaped;
}

// Control characters and unpaired surrogates (possible in a file name) are escaped, so that the
// text is valid JSON and the name survives.
std::wstring JsonString(std::wstring_view text) {
    std::wstring json = L"\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t unit = text[i];
        if (unit == L'"' || unit == L'\\') {
            json += L'\\';
            json += unit;
        } else if (unit == L'\r' || unit == L'\n' || unit == L'\t') {
            json += unit == L'\r' ? L"\\r" : unit == L'\n' ? L"\\n" : L"\\t";
        } else if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            json += unit;
            json += text[++i];
        } else if (unit < 0x20 || IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            json += JsonEscape(unit);
        } else {
            json += unit;
        }
    }
    return json + L'"';
}

}  // namespace

std::optional<TableFormat> TableFormatNamed(std::wstring_view name) {
    if (SameTextIgnoringCase(name, L"text")) return TableFormat::Text;
    if (SameTextIgnoringCase(name, L"csv")) return TableFormat::Csv;
    if (SameTextIgnoringCase(name, L"json")) return TableFormat::Json;
    return std::nullopt;
}

std::wstring CsvText(const Table& table) {
    std::wstring text;
    const auto addLine = [&text](const std::vector<std::wstring>& fields) {
        for (size_t i = 0; i < fields.size(); ++i) text += (i ? L"," : L"") + CsvField(fields[i]);
        text += L"\r\n";
    };
    addLine(table.columns);
    for (const auto& row : table.rows) addLine(row);
    return text;
}

std::wstring JsonText(const Table& table) {
    std::wstring text = L"[";
    for (size_t r = 0; r < table.rows.size(); ++r) {
        text += r ? L",\r\n  {" : L"\r\n  {";
        for (size_t c = 0; c < table.columns.size(); ++c) {
            text += (c ? L", " : L"") + JsonString(table.columns[c]) + L": " + JsonString(table.rows[r][c]);
        }
        text += L'}';
    }
    return text + (table.rows.empty() ? L"]\r\n" : L"\r\n]\r\n");
}

std::wstring PaddedTo(std::wstring_view text, size_t width) {
    std::wstring padded(text);
    if (padded.size() < width) padded.append(width - padded.size(), L' ');
    return padded;
}

size_t WidestIn(const Table& table, size_t column) {
    size_t widest = 0;
    for (const auto& row : table.rows) widest = std::max(widest, row[column].size());
    return widest;
}

void WriteTable(const Table& table, TableFormat format,
                const std::function<std::wstring(const std::vector<std::wstring>&)>& textLine, Streams& streams) {
    switch (format) {
        case TableFormat::Csv:
            streams.out.Write(CsvText(table));
            break;
        case TableFormat::Json:
            streams.out.Write(JsonText(table));
            break;
        case TableFormat::Text:
            for (const auto& row : table.rows) streams.Say(textLine(row));
            break;
    }
}
