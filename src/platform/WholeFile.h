#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Whole-file reads and replacements for the small text files the program keeps beside itself.

// The file's bytes, or its first `limit` bytes; nothing when it cannot be opened or read, or is
// larger than 2 GB. On failure the last error is the platform's.
std::optional<std::string> ReadWholeFile(const std::wstring& path, size_t limit = MAXLONG);

// Puts these bytes in the file's place in one step: they are written to a temporary file in the
// same folder, which then replaces the file and takes its attributes. A read-only file is left
// alone (replacing it would get round its protection). On false the file is as it was and no
// temporary file remains.
bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes);

// Creates the file with exactly these bytes (CREATE_NEW or CREATE_ALWAYS); a failed write leaves
// no file behind.
bool WriteNewFile(const std::wstring& path, std::string_view bytes, DWORD disposition);
