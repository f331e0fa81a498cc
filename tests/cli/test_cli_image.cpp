// The console program as a file: a console executable, so that cmd and PowerShell wait for it and
// pipes work, that runs as the invoking user, so that its writes beside itself are never quietly
// redirected to a per-user copy.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "support/FixturePath.h"
#include "support/doctest_wide.h"

TEST_CASE("The console program is a console executable whose manifest runs it as the invoking user") {
    const std::wstring program = xpv_test::FixturePath(XPV_CLI_PROGRAM);
    // A console program reads as "PE" with no window subsystem version.
    const DWORD_PTR type = SHGetFileInfoW(program.c_str(), 0, nullptr, 0, SHGFI_EXETYPE);
    CHECK(LOWORD(type) == 0x4550);
    CHECK(HIWORD(type) == 0);

    const HMODULE image = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(image);
    const HRSRC resource = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    REQUIRE(resource);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(image, resource)));
    REQUIRE(bytes);
    const std::string manifest(bytes, SizeofResource(image, resource));
    CHECK(manifest.find("level=\"asInvoker\"") != std::string::npos);
    CHECK(manifest.find("Common-Controls") == std::string::npos);
    FreeLibrary(image);
}
