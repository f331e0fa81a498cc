#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/OutputStream.h"

// The rows a listing prints: as lines for people, or as CSV or JSON for tools.
enum class TableFormat { Text, Csv, Json };

// The value of --format: "text", "csv" or "json" in any letter case; nothing for anything else.
std::optional<TableFormat> TableFormatNamed(std::wstring_view name);

struct Table {
    std::vector<std::wstring> columns;  // the CSV header and the JSON member names
    std::vector<std::vector<std::wstring>> rows;
};

// A header line and one line per row, fields quoted where they hold a comma, a quote or a line
// break, lines ending in CR LF.
std::wstring CsvText(const Table& table);

// An array with one object per row, members named after the columns; a line per row.
std::wstring JsonText(const Table& table);

// The text followed by blanks up to `width` characters.
std::wstring PaddedTo(std::wstring_view text, size_t width);

// The widest text of a column.
size_t WidestIn(const Table& table, size_t column);

// Prints the table in the format; text lines come from `textLine`, one per row.
void WriteTable(const Table& table, TableFormat format,
                const std::function<std::wstring(const std::vector<std::wstring>&)>& textLine, Streams& streams);
