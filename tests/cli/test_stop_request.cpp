// Ctrl+C in the console stops a command after the item in hand: what was left is told, and the
// exit code says that not everything was done.
#include <windows.h>

#include <string>

#include "cli/OutputStream.h"
#include "cli/RunCommandLine.h"
#include "cli/StopRequest.h"
#include "manifest/ManifestFile.h"
#include "platform/TextEncoding.h"
#include "platform/UniqueHandle.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

TEST_CASE("After Ctrl+C a command themes nothing more, says so and ends with exit code 1") {
    const xpv_test::TempFolder folder(L"xpv-cli-stop");
    // A real program, so that the command line passes every check and the stop is what ends it.
    wchar_t self[MAX_PATH];
    REQUIRE(GetModuleFileNameW(nullptr, self, MAX_PATH) > 0);
    const std::wstring program = folder / L"app.exe";
    REQUIRE(xpv_test::CopyInto(self, program));

    FreeConsole();
    REQUIRE(AllocConsole());
    StopOnConsoleBreak();
    REQUIRE_FALSE(StopRequested());
    REQUIRE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    // The console calls the handler on a thread of its own.
    for (int waited = 0; waited < 5000 && !StopRequested(); waited += 10) Sleep(10);
    REQUIRE(StopRequested());

    const std::wstring outPath = folder / L"out.txt";
    const std::wstring errPath = folder / L"err.txt";
    int exitCode = -1;
    {
        const UniqueHandle outFile(CreateFileW(outPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        const UniqueHandle errFile(CreateFileW(errPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        OutputStream out(outFile.get());
        OutputStream err(errFile.get());
        Streams streams{out, err};
        exitCode = RunCommandLine({L"theme", program, folder.Path()}, ProgramFilesIn(folder.Path()), streams);
    }
    FreeConsole();
    CHECK(exitCode == 1);
    CHECK(xpv_test::ReadBytes(outPath).empty());
    CHECK(xpv_test::ReadBytes(errPath) == "Stopped: the rest was not done.\r\n");
    CHECK_FALSE(IsManifestPresent(ManifestPathFor(program)));
}
