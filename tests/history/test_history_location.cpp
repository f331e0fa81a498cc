#include <windows.h>

#include <string>
#include <vector>

#include "history/FolderRights.h"
#include "history/HistoryLocation.h"
#include "platform/FolderEntries.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using xpv_test::FileExists;
using xpv_test::TempFolder;
using xpv_test::WriteBytes;

namespace {

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Names of everything in a folder.
std::vector<std::wstring> Contents(const std::wstring& folder) {
    std::vector<std::wstring> names;
    FolderEntries entries(folder);
    while (const WIN32_FIND_DATAW* entry = entries.Next()) names.push_back(entry->cFileName);
    return names;
}

// The application-data folder as the rule asks for it.
AppDataDirectoryQuery Folder(std::wstring path) {
    return [path = std::move(path)] { return path; };
}

}  // namespace

TEST_CASE("The history lives beside the program when it exists there or the folder can be written, else in "
          "the application data") {
    enum class Beside { Nothing, File, Folder };
    enum class Place { Program, AppData };
    const struct {
        const char* name;
        Beside beside;
        bool writable;
        bool appDataGiven;
        Place expected;
    } cases[] = {
        {"writable folder, no history yet: the portable case", Beside::Nothing, true, true, Place::Program},
        {"folder that cannot be written, no history", Beside::Nothing, false, true, Place::AppData},
        {"an existing history beside the program wins over the rights", Beside::File, false, true, Place::Program},
        {"an existing history in a writable folder", Beside::File, true, true, Place::Program},
        {"a folder named history.db is no history", Beside::Folder, false, true, Place::AppData},
        {"no application-data folder known", Beside::Nothing, false, false, Place::Program},
    };
    for (const auto& c : cases) {
        CAPTURE(c.name);
        TempFolder program(L"xpv-program");
        TempFolder appData(L"xpv-appdata");
        if (c.beside == Beside::File) REQUIRE(WriteBytes(program / L"history.db", "[Main]\r\n"));
        if (c.beside == Beside::Folder) program.AddFolder(L"history.db");
        std::vector<std::wstring> asked;
        const auto userCanWrite = [&](const std::wstring& folder) {
            asked.push_back(folder);
            return c.writable;
        };

        int appDataAsked = 0;
        const auto appDataDirectory = [&] {
            ++appDataAsked;
            return c.appDataGiven ? appData.Path() : std::wstring();
        };

        const std::wstring chosen = ChooseHistoryFile(program.Path(), appDataDirectory, userCanWrite);

        const std::wstring appDataFolder = appData / L"Orlek\\XP Vestrim";
        if (c.expected == Place::Program) {
            CHECK(chosen == program / L"history.db");
            CHECK_FALSE(FolderExists(appData / L"Orlek"));
        } else {
            CHECK(chosen == appDataFolder + L"\\history.db");
            CHECK(FolderExists(appDataFolder));
            CHECK_FALSE(FileExists(chosen));  // made by the first entry recorded, not by the choice
        }
        for (const std::wstring& folder : asked) CHECK(folder == program.Path());
        // Naming the folder loads the shell: asked only when the program's folder will not do.
        CHECK(appDataAsked == (c.beside != Beside::File && !c.writable ? 1 : 0));
    }
}

TEST_CASE("Folders of the application-data history that exist already are used as they are") {
    TempFolder program(L"xpv-program");
    TempFolder appData(L"xpv-appdata");
    appData.AddFolder(L"Orlek");
    appData.AddFolder(L"Orlek\\XP Vestrim");
    REQUIRE(WriteBytes(appData / L"Orlek\\XP Vestrim\\history.db", "[Main]\r\n"));
    const auto readOnly = [](const std::wstring&) { return false; };
    CHECK(ChooseHistoryFile(program.Path(), Folder(appData.Path()), readOnly) == appData / L"Orlek\\XP Vestrim\\history.db");
    CHECK(Contents(appData / L"Orlek\\XP Vestrim") == std::vector<std::wstring>{L"history.db"});
}

TEST_CASE("A folder given with its closing backslash, as a drive root is, gets one backslash before the name") {
    TempFolder program(L"xpv-program");
    TempFolder appData(L"xpv-appdata");
    const auto readOnly = [](const std::wstring&) { return false; };
    const auto writable = [](const std::wstring&) { return true; };
    CHECK(ChooseHistoryFile(program.Path() + L"\\", Folder(appData.Path()), writable) == program / L"history.db");
    CHECK(ChooseHistoryFile(program.Path(), Folder(appData.Path() + L"\\"), readOnly) ==
          appData / L"Orlek\\XP Vestrim\\history.db");
}

TEST_CASE("The user's rights: folders here can be written, and the test leaves nothing behind") {
    TempFolder program(L"xpv-program");
    CHECK(UserCanWriteFolder(program.Path()));
    CHECK(Contents(program.Path()).empty());
    CHECK(ChooseHistoryFile(program.Path()) == program / L"history.db");

    // The build tree, where the program runs in the tests, lies on another drive of other rights.
    wchar_t self[MAX_PATH] = {};
    REQUIRE(GetModuleFileNameW(nullptr, self, MAX_PATH) > 0);
    std::wstring ownFolder = self;
    ownFolder.resize(ownFolder.rfind(L'\\'));
    const std::vector<std::wstring> before = Contents(ownFolder);
    CHECK(UserCanWriteFolder(ownFolder));
    CHECK(Contents(ownFolder) == before);

    // No folder of that name, or a file where the folder should be: nothing can be made there.
    CHECK_FALSE(UserCanWriteFolder(program / L"missing"));
    REQUIRE(WriteBytes(program / L"file", "x"));
    CHECK_FALSE(UserCanWriteFolder(program / L"file"));
}

TEST_CASE("The application-data folder is the user's own") {
    const std::wstring appData = UserAppDataDirectory();
    REQUIRE_FALSE(appData.empty());
    CHECK(FolderExists(appData));
    wchar_t fromEnvironment[MAX_PATH] = {};
    REQUIRE(GetEnvironmentVariableW(L"APPDATA", fromEnvironment, MAX_PATH) > 0);
    CHECK(_wcsicmp(appData.c_str(), fromEnvironment) == 0);
}
