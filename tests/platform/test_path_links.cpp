#include <windows.h>

#include <string>

#include "platform/PathLinks.h"
#include "support/FixturePath.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

namespace {

const std::wstring kTree = xpv_test::FixturePath(XPV_PATH_LINKS);

std::wstring ShortPathOf(const std::wstring& path) {
    std::wstring shortPath(MAX_PATH, L'\0');
    shortPath.resize(GetShortPathNameW(path.c_str(), shortPath.data(), MAX_PATH));
    return shortPath;
}

}  // namespace

TEST_CASE("A link or junction anywhere on a path is found, and nothing else is taken for one") {
    const std::wstring file = kTree + L"\\real\\A Long Folder Name\\file.txt";
    const std::wstring shortFile = ShortPathOf(file);
    REQUIRE(shortFile.find(L"A Long Folder Name") == std::wstring::npos);
    const xpv_test::TempFolder temp;
    const std::wstring tempFile = temp.AddFile(L"plain.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    const struct {
        const char* what;
        std::wstring path;
        bool isLink;
        bool passesThroughLink;
    } cases[] = {
        {"a plain file", file, false, false},
        {"the same file by its short names", shortFile, false, false},
        {"its folder, written with a trailing backslash", kTree + L"\\real\\A Long Folder Name\\", false, false},
        {"names in another letter case", kTree + L"\\REAL\\a long folder name\\FILE.TXT", false, false},
        {"a file in the temporary folder", tempFile, false, false},
        {"a link to a file", kTree + L"\\real\\file-link.txt", true, true},
        {"a link to a folder", kTree + L"\\via", true, true},
        {"a file reached through a linked folder", kTree + L"\\via\\A Long Folder Name\\file.txt", false, true},
        {"a missing file in a linked folder", kTree + L"\\via\\missing.exe.manifest", false, true},
        {"a missing file in a plain folder", kTree + L"\\real\\missing.exe.manifest", false, false},
        {"below a missing folder", kTree + L"\\missing\\deeper\\file.txt", false, false},
    };
    for (const auto& c : cases) {
        CAPTURE(std::string(c.what));
        CAPTURE(c.path);
        CHECK(IsLinkOrJunction(c.path) == c.isLink);
        CHECK(PassesThroughLink(c.path) == c.passesThroughLink);
    }
}

TEST_CASE("A file with a hard link has other names, under each of them; nothing else has") {
    const xpv_test::TempFolder temp;
    const std::wstring first = temp.AddFile(L"first.db");
    const std::wstring second = temp / L"second.db";
    const std::wstring alone = temp.AddFile(L"alone.db");
    const std::wstring folder = temp.AddFolder(L"folder");
    temp.AddFolder(L"folder\\inner");
    REQUIRE(CreateHardLinkW(second.c_str(), first.c_str(), nullptr));
    const struct {
        const wchar_t* what;
        std::wstring path;
        bool hasOtherNames;
    } cases[] = {
        {L"a file with a hard link", first, true},
        {L"the hard link", second, true},
        {L"a file of one name", alone, false},
        {L"a folder with a subfolder", folder, false},
        {L"a missing file", temp / L"missing.db", false},
    };
    for (const auto& c : cases) {
        CAPTURE(std::wstring(c.what));
        CHECK(HasOtherNames(c.path) == c.hasOtherNames);
    }
    REQUIRE(DeleteFileW(second.c_str()));
    CHECK_FALSE(HasOtherNames(first));
}
