#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/UniqueHandle.h"

// Whole-file reads and replacements: the profile files beside the program and the manifests.

// The file's bytes, or its first `limit` bytes; nothing when it cannot be opened or read, or is
// larger than 2 GB. On failure the last error is the platform's.
std::optional<std::string> ReadWholeFile(const std::wstring& path, size_t limit = MAXLONG);

// A new, empty file in a folder, deleted again unless it is kept: where a file's new bytes go
// before they take its place. Named "xpvXXXX.tmp" with four hexadecimal digits, because
// GetTempFileName takes no folder near MAX_PATH or beyond.
class TemporaryFile {
public:
    // Creates the file in the folder (given with its trailing separator); check created().
    explicit TemporaryFile(const std::wstring& folder);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool created() const { return !path_.empty(); }
    // Why it could not be created.
    DWORD error() const { return error_; }
    // In the form for file calls.
    const std::wstring& path() const { return path_; }

    // Writes every byte to disk and closes the file: the platform's error code, ERROR_SUCCESS
    // when all is written.
    DWORD Write(std::string_view bytes);
    // It has taken its place: it stays.
    void keep() { path_.clear(); }

private:
    UniqueHandle file_;
    std::wstring path_;
    DWORD error_ = ERROR_SUCCESS;
};

// The folder part of a path, with its trailing separator (".\" for a bare name).
std::wstring FolderPartOf(const std::wstring& path);

// Puts these bytes in the file's place in one step: they are written to a temporary file in the
// same folder, which then replaces the file and takes its attributes, or becomes it when there
// was none. Where the folder takes no new file, or no new file in the place of one, the bytes are
// written over the file itself, which holds its old bytes again when not all could be written; no
// one else may open it meanwhile, and the caller's lock keeps other copies of the program away.
// A read-only file is left alone (replacing it would get round its protection). On false the
// file is as it was (or still missing) and no temporary file remains.
bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes);
