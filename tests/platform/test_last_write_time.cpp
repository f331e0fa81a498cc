#include <windows.h>

#include <string>

#include "platform/LastWriteTime.h"
#include "support/FileTimes.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using namespace xpv_test;
using namespace std::string_literals;

TEST_CASE("The last-write time becomes now; content and attributes stay") {
    const struct {
        const char* what;
        DWORD attributes;
        bool heldOpen;  // by a reader that shares with nobody, as a running program may
    } cases[] = {
        {"a plain file", FILE_ATTRIBUTE_NORMAL, false},
        {"a read-only, hidden file", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, false},
        {"a file held open without sharing", FILE_ATTRIBUTE_NORMAL, true},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        TempFolder folder;
        const std::wstring path = folder / L"program.exe";
        const std::string bytes = "MZ program bytes\r\n\0 stay as they are"s;
        REQUIRE(xpv_test::WriteBytes(path, bytes));
        MakeOld(path);
        REQUIRE(SetFileAttributesW(path.c_str(), c.attributes));
        const DWORD attributes = GetFileAttributesW(path.c_str());
        HANDLE holder = INVALID_HANDLE_VALUE;
        if (c.heldOpen) {
            holder = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            REQUIRE(holder != INVALID_HANDLE_VALUE);
        }

        const ULONGLONG before = Now();
        CHECK(SetLastWriteTimeToNow(path) == ERROR_SUCCESS);
        if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);

        const ULONGLONG after = LastWriteOf(path);
        CHECK(after >= before);
        CHECK(after <= Now());
        CHECK(GetFileAttributesW(path.c_str()) == attributes);
        CHECK(xpv_test::ReadBytes(path) == bytes);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_CASE("A time that cannot be set gives the platform's reason") {
    TempFolder folder;
    CHECK(SetLastWriteTimeToNow(folder / L"missing.exe") == ERROR_FILE_NOT_FOUND);
    // A folder is opened for its attributes only with a flag files do not take.
    CHECK(SetLastWriteTimeToNow(folder.AddFolder(L"folder.exe")) == ERROR_ACCESS_DENIED);
}
