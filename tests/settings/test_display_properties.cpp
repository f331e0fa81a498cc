#include "support/doctest_wide.h"

#include <windows.h>

#include <string>
#include <vector>

#include "settings/DisplayProperties.h"
#include "support/TempFolder.h"

namespace {

struct StartRequest {
    std::wstring program;
    std::wstring commandLine;
};

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    REQUIRE(length > 0);
    return std::wstring(folder, length);
}

std::wstring OwnPath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    REQUIRE(length > 0);
    return std::wstring(path, length);
}

}  // namespace

TEST_CASE("Change Theme starts rundll32 from the system folder by its full path") {
    std::vector<StartRequest> requests;
    const bool started = OpenDisplayProperties(
        [&requests](const std::wstring& program, const std::wstring& commandLine) {
            requests.push_back({program, commandLine});
            return true;
        });
    CHECK(started);
    REQUIRE(requests.size() == 1);
    const std::wstring expected = SystemFolder() + L"\\rundll32.exe";
    CHECK(requests[0].program == expected);
    CHECK(xpv_test::FileExists(requests[0].program));
    CHECK(requests[0].commandLine ==
          L"\"" + expected + L"\" shell32.dll,Control_RunDLL desk.cpl,,5");
}

TEST_CASE("Change Theme that cannot start reports it and nothing else happens") {
    int calls = 0;
    CHECK_FALSE(OpenDisplayProperties([&calls](const std::wstring&, const std::wstring&) {
        ++calls;
        return false;
    }));
    CHECK(calls == 1);
}

TEST_CASE("StartProgram starts a program without waiting and reports what it cannot start") {
    xpv_test::TempFolder folder(L"start");
    CHECK_FALSE(StartProgram(folder / L"missing.exe", L"missing.exe"));
    // This test program itself, told to run no tests, stands for a program that starts.
    const std::wstring self = OwnPath();
    CHECK(StartProgram(self, L"\"" + self + L"\" --no-run=true"));
}
