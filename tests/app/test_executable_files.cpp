#include <windows.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "app/ExecutableFiles.h"
#include "manifest/ManifestFile.h"
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
    CHECK(Listed(ListExecutables(folder.Path()).names) == Listed(expected));
    CHECK(Listed(ListExecutables(folder.Path() + L"\\").names) == Listed(expected));
}

TEST_CASE("One listing tells each executable's manifest exactly as asking for its path does") {
    TempFolder folder(L"xpv_manifests");
    constexpr DWORD kHidden = FILE_ATTRIBUTE_HIDDEN, kSystem = FILE_ATTRIBUTE_SYSTEM,
                    kReadOnly = FILE_ATTRIBUTE_READONLY, kArchive = FILE_ATTRIBUTE_ARCHIVE;
    const struct Program {
        const wchar_t* executable;
        const wchar_t* besideIt;  // the entry named as its manifest, if any
        Kind kind;
        DWORD attributes;
        bool themed;
    } programs[] = {
        {L"plain.exe", L"plain.exe.manifest", Kind::File, 0, true},
        {L"none.exe", nullptr, Kind::File, 0, false},
        {L"hidden.exe", L"hidden.exe.manifest", Kind::File, kHidden | kSystem, true},
        {L"system.exe", L"system.exe.manifest", Kind::File, kSystem, true},
        {L"readonly.exe", L"readonly.exe.manifest", Kind::File, kReadOnly, true},
        {L"archive.exe", L"archive.exe.manifest", Kind::File, kArchive, true},
        {L"folder.exe", L"folder.exe.manifest", Kind::Folder, 0, false},
        {L"hiddenfolder.exe", L"hiddenfolder.exe.manifest", Kind::Folder, kHidden, false},
        // Letter case folds as the file system folds it, beyond a to z too.
        {L"Upper.EXE", L"uPPER.exe.MANIFEST", Kind::File, 0, true},
        {L"\u00C9mile.exe", L"\u00E9MILE.EXE.manifest", Kind::File, 0, true},                // É, é
        {L"\u0416\u0443\u043A.exe", L"\u0436\u0443\u043A.exe.manifest", Kind::File, 0, true},  // Cyrillic
        {L"\u03A9mega.exe", L"\u03C9mega.exe.manifest", Kind::File, 0, true},               // Ω, ω
        {L"\u00FFes.exe", L"\u0178ES.exe.manifest", Kind::File, 0, true},                   // ÿ, Ÿ
        // Letters that fold to other letters only in some tables: whatever the answer, the same.
        {L"Stra\u00DFe.exe", L"STRASSE.exe.manifest", Kind::File, 0, false},                   // ß is no SS
        {L"\u0131nk.exe", L"Ink.exe.manifest", Kind::File, 0, false},                          // dotless ı
        {L"Kelvin\u212A.exe", L"kelvink.exe.manifest", Kind::File, 0, false},                  // Kelvin sign
        // Long names with short ones beside them: only the long name counts, as for the path.
        {L"A Long Program Name.exe", L"A Long Program Name.exe.manifest", Kind::File, kHidden, true},
        {L"ALONGP~1.EXE", nullptr, Kind::File, 0, false},
        // Near misses of the manifest's name.
        {L"near.exe", L"near.exe.manifest.old", Kind::File, 0, false},
        {L"tail.exe", L"tail.exe.manifes", Kind::File, 0, false},
        {L"spaced.exe", L"spaced.exe .manifest", Kind::File, 0, false},
    };
    for (const Program& program : programs) {
        folder.AddFile(program.executable);
        if (!program.besideIt) continue;
        if (program.kind == Kind::File) {
            folder.AddFile(program.besideIt, program.attributes);
        } else {
            folder.AddFolder(program.besideIt, program.attributes);
        }
    }
    // Manifests without their executable, and a manifest of a file that is no executable: nothing
    // is listed for them.
    folder.AddFile(L"orphan.exe.manifest");
    folder.AddFile(L"a.exec");
    folder.AddFile(L"a.exec.manifest");

    const ExecutableListing listing = ListExecutables(folder.Path());
    REQUIRE(listing.names.size() == std::size(programs));
    for (const Program& program : programs) {
        CAPTURE(std::wstring(program.executable));
        CHECK(std::count(listing.names.begin(), listing.names.end(), program.executable) == 1);
        const bool asked = IsManifestPresent(ManifestPathFor(folder / program.executable));
        CHECK(listing.HasManifest(program.executable) == asked);
        CHECK(asked == program.themed);
    }
}

TEST_CASE("The executables' order is the locale's, letter case ignored, whatever the characters") {
    TempFolder folder(L"xpv_order");
    // Word-sort marks, digits, symbols, accents, other scripts, an ignorable soft hyphen.
    const wchar_t* const names[] = {
        L"a-b.exe",  L"ab.exe",          L"a'c.exe",         L"ac.exe",          L"A1.exe",   L"a10.exe",
        L"a2.exe",   L"_x.exe",          L"~y.exe",          L"\u00C4pfel.exe", L"apfel.exe", L"\u00E9t\u00E9.exe",
        L"ete.exe",  L"Stra\u00DFe.exe", L"strasse.exe",    L"\u03A3igma.exe", L"\u0436.exe", L"\u4E2D.exe",
        L"1.exe",    L"soft\u00ADhyphen.exe", L"softhyphen.exe", L"Zulu.exe", L"zebra.exe", L"b c.exe", L"bc.exe",
    };
    for (const wchar_t* name : names) folder.AddFile(name);
    Names expected(std::begin(names), std::end(names));
    std::sort(expected.begin(), expected.end(), [](const std::wstring& a, const std::wstring& b) {
        const int order = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                                         b.c_str(), static_cast<int>(b.size()));
        return order != CSTR_EQUAL ? order == CSTR_LESS_THAN : a < b;
    });
    CHECK(ListExecutables(folder.Path()).names == expected);
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
        CHECK(ListExecutables(directory).names.empty());
        CHECK_FALSE(ListSubdirectoryNames(directory).has_value());
        CHECK_FALSE(CanReadFolder(directory));
    }
    CHECK(CanReadFolder(folder.Path()));
}

TEST_CASE("A drive root is read with its trailing backslash") {
    const FileAtRoot executable(L"xpv_root_" + std::to_wstring(GetCurrentProcessId()) + L".EXE");
    const Names names = ListExecutables(L"C:\\").names;
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
