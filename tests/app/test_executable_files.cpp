#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/ExecutableFiles.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

namespace {

using xpv_test::TempFolder;
using Names = std::vector<std::wstring>;

// One line for a list of names, so a failure shows both lists.
std::wstring Listed(const Names& names) {
    std::wstring line;
    for (const std::wstring& name : names) line += L"|" + name;
    return line;
}

std::wstring Listed(const std::optional<Names>& names) {
    return names ? Listed(*names) : L"(unreadable)";
}

enum class Kind { File, Folder };

struct Entry {
    const wchar_t* name;
    Kind kind;
    DWORD attributes;
};

// Every way a name can look like an executable, and the ones that are.
const Entry kMixedFolder[] = {
    {L"Zeta.exe", Kind::File, 0},
    {L"alpha.exe", Kind::File, 0},
    {L"Beta.EXE", Kind::File, 0},
    {L"hidden.exe", Kind::File, FILE_ATTRIBUTE_HIDDEN},
    {L"system.exe", Kind::File, FILE_ATTRIBUTE_SYSTEM},
    {L"locked.exe", Kind::File, FILE_ATTRIBUTE_READONLY},
    {L"x.exe1", Kind::File, 0},
    {L"a.exec", Kind::File, 0},
    {L"setup.exe.manifest", Kind::File, 0},
    {L"notes.txt", Kind::File, 0},
    {L"exe", Kind::File, 0},
    {L"dir.exe", Kind::Folder, 0},
    {L"Hidden Folder.exe", Kind::Folder, FILE_ATTRIBUTE_HIDDEN},
    {L"beta folder", Kind::Folder, 0},
    {L"Secret", Kind::Folder, FILE_ATTRIBUTE_HIDDEN},
    {L"OS", Kind::Folder, FILE_ATTRIBUTE_SYSTEM},
};

void Populate(const TempFolder& folder) {
    for (const Entry& entry : kMixedFolder) {
        if (entry.kind == Kind::File) {
            folder.AddFile(entry.name, entry.attributes);
        } else {
            folder.AddFolder(entry.name, entry.attributes);
        }
    }
}

// Removes itself however the test ends.
struct FileAtRoot {
    explicit FileAtRoot(std::wstring name) : path(L"C:\\" + name) {
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_HIDDEN, nullptr);
        const bool created = file != INVALID_HANDLE_VALUE;
        if (created) CloseHandle(file);
        REQUIRE(created);
    }
    ~FileAtRoot() {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
    std::wstring path;
};

}  // namespace

TEST_CASE("The executables of a folder: real .exe endings only, hidden and system too, folders never") {
    TempFolder folder(L"xpv_executables");
    Populate(folder);
    // Case-insensitive order: a plain code-unit sort would put "Beta.EXE" and "Zeta.exe" first.
    const Names expected = {L"alpha.exe",  L"Beta.EXE",   L"hidden.exe",
                            L"locked.exe", L"system.exe", L"Zeta.exe"};
    CHECK(Listed(ListExecutableNames(folder.Path())) == Listed(expected));
    CHECK(Listed(ListExecutableNames(folder.Path() + L"\\")) == Listed(expected));
}

TEST_CASE("The subdirectories of a folder: hidden and system ones too, files and dot entries never") {
    TempFolder folder(L"xpv_subdirectories");
    Populate(folder);
    const Names expected = {L"beta folder", L"dir.exe", L"Hidden Folder.exe", L"OS", L"Secret"};
    CHECK(Listed(ListSubdirectoryNames(folder.Path())) == Listed(expected));

    const std::wstring empty = folder.AddFolder(L"empty");
    REQUIRE(ListSubdirectoryNames(empty).has_value());
    CHECK(ListSubdirectoryNames(empty)->empty());
}

TEST_CASE("A folder that cannot be read lists nothing") {
    TempFolder folder(L"xpv_unreadable");
    const std::wstring file = folder.AddFile(L"plain.exe");
    const std::wstring cases[] = {folder.Path() + L"\\missing", file, L""};
    for (const std::wstring& directory : cases) {
        CAPTURE(directory);
        CHECK(ListExecutableNames(directory).empty());
        CHECK_FALSE(ListSubdirectoryNames(directory).has_value());
        CHECK_FALSE(CanReadFolder(directory));
    }
    CHECK(CanReadFolder(folder.Path()));
}

TEST_CASE("A drive root is read with its trailing backslash") {
    const FileAtRoot executable(L"xpv_root_" + std::to_wstring(GetCurrentProcessId()) + L".EXE");
    const Names names = ListExecutableNames(L"C:\\");
    CHECK(std::count(names.begin(), names.end(), executable.path.substr(3)) == 1);
    for (const std::wstring& name : names) CHECK(name.find(L'\\') == std::wstring::npos);

    const auto folders = ListSubdirectoryNames(L"C:\\");
    REQUIRE(folders.has_value());
    CHECK(std::count(folders->begin(), folders->end(), L"windows") == 1);
    CHECK(CanReadFolder(L"C:\\"));
}

TEST_CASE("The stored name of a folder: its own letter case and long name; files are no folders") {
    TempFolder folder(L"xpv_stored");
    folder.AddFolder(L"Mixed Case Folder");
    folder.AddFile(L"file.txt");
    CHECK(StoredFolderName(folder.Path() + L"\\mixed case FOLDER").value_or(L"") == L"Mixed Case Folder");
    CHECK_FALSE(StoredFolderName(folder.Path() + L"\\file.txt").has_value());
    CHECK_FALSE(StoredFolderName(folder.Path() + L"\\missing").has_value());
}
