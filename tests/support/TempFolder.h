#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace xpv_test {

// A fresh folder under the temporary directory, removed with everything in it at scope exit.
class TempFolder {
public:
    explicit TempFolder(std::wstring_view tag = L"xpv");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // No trailing backslash.
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

    // A new folder or empty file below this one, with the given attributes (hidden, system,
    // read-only) added; the test fails when it cannot be made or the attributes do not stick.
    // Gives the full path.
    std::wstring AddFolder(std::wstring_view relative, DWORD attributes = 0) const;
    std::wstring AddFile(std::wstring_view relative, DWORD attributes = 0) const;

private:
    std::wstring path_;
};

// A folder at the far end of a chain of long names below `folder`, its path far beyond MAX_PATH;
// removed at scope exit with the long form of the path, which the plain cleanup cannot use.
class DeepFolder {
public:
    explicit DeepFolder(const TempFolder& folder);
    ~DeepFolder();
    DeepFolder(const DeepFolder&) = delete;
    DeepFolder& operator=(const DeepFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    // "\\?\" and the path, for file calls made by the test itself.
    static std::wstring LongForm(const std::wstring& path) { return L"\\\\?\\" + path; }

private:
    std::wstring top_;
    std::wstring path_;
};

// Removes a file or folder tree, whatever the attributes of what is in it.
void RemoveTree(const std::wstring& path);
// Writes bytes to a file (created or emptied).
bool WriteBytes(const std::wstring& path, std::string_view bytes);
// The file's bytes, or an empty text when it cannot be read.
std::string ReadBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
// Names in a folder, sorted, without "." and "..".
std::vector<std::wstring> NamesIn(const std::wstring& folder);
// Whether any file or folder matches the pattern (a folder and "\\*.tmp", say).
bool AnyFileMatches(const std::wstring& pattern);
bool CopyInto(const std::wstring& source, const std::wstring& target);
// A copy of the running test program, a program that carries no manifest of its own, in the
// folder under that name: the full path.
std::wstring CopyOfSelf(const TempFolder& folder, std::wstring_view name);

}  // namespace xpv_test
