// In a console the program writes UTF-16 through the console itself, so that a name in any script
// shows as its own characters, whatever the console's code page.
#include <windows.h>

#include <string>

#include "platform/UniqueHandle.h"
#include "support/CliProcess.h"
#include "support/FixturePath.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

TEST_CASE("To a console, a Greek program name arrives as its own characters") {
    const xpv_test::CliFolder cli(xpv_test::FixturePath(XPV_CLI_PROGRAM));
    const xpv_test::TempFolder programs(L"xpv-cli-console");
    const std::wstring greek = programs / L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac.exe";
    REQUIRE(xpv_test::CopyInto(xpv_test::FixturePath(XPV_CLI_FIXTURES) + L"\\plain.exe", greek));

    FreeConsole();
    REQUIRE(AllocConsole());
    SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
    const UniqueHandle screen(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          &inherited, OPEN_EXISTING, 0, nullptr));
    REQUIRE(screen);
    // The code page a console is left in matters not: the program does not go through it.
    SetConsoleOutputCP(437);
    CONSOLE_SCREEN_BUFFER_INFO buffer{};
    REQUIRE(GetConsoleScreenBufferInfo(screen.get(), &buffer));
    const DWORD cells = static_cast<DWORD>(buffer.dwSize.X) * 10;
    DWORD written = 0;
    REQUIRE(FillConsoleOutputCharacterW(screen.get(), L' ', cells, {0, 0}, &written));
    REQUIRE(SetConsoleCursorPosition(screen.get(), {0, 0}));

    const UniqueHandle process =
        xpv_test::StartProgram(cli.Program(), {L"theme", L"--dry-run", greek}, L"", screen.get(), screen.get(), 0);
    CHECK(xpv_test::WaitForExitCode(process) == 0);

    std::wstring shown(cells, L'\0');
    DWORD read = 0;
    REQUIRE(ReadConsoleOutputCharacterW(screen.get(), shown.data(), cells, {0, 0}, &read));
    shown.resize(read);
    // A line that does not fit the console's width goes on in the next row.
    const std::wstring expected = L"would theme: " + greek;
    CHECK(shown.substr(0, expected.size()) == expected);
    FreeConsole();
}
