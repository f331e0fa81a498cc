#include <windows.h>

#include <string>
#include <vector>

#include "platform/VersionInfo.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

namespace {

const std::wstring kProgram = XPV_PROGRAM_PATH;

// The program file mapped as data, so that its resources can be read without running it.
class ProgramImage {
public:
    ProgramImage() : module_(LoadLibraryExW(kProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ProgramImage() {
        if (module_) FreeLibrary(module_);
    }
    ProgramImage(const ProgramImage&) = delete;
    ProgramImage& operator=(const ProgramImage&) = delete;
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

}  // namespace

TEST_CASE("The program carries its version resource") {
    VersionInfo version;
    version.SetFileName(kProgram);
    CHECK(version.Language() == 0x0409);
    CHECK(version.CodePage() == 1200);
    CHECK(version.Comments() == L"Adds XP themes to applications.");
    CHECK(version.FileDescription() == L"Adds XP themes to applications.");
    CHECK(version.ProductName() == L"Orlek - XP Vestrim");
    CHECK(version.FileVersion() == L"1.02");
    CHECK(version.ProductVersion() == L"1.02");
    CHECK(version.InternalName() == L"xpvestrim");
    CHECK(version.OriginalFileName() == L"xpvestrim.exe");
    CHECK_FALSE(version.CompanyName().empty());
    CHECK_FALSE(version.LegalCopyright().empty());
    CHECK(version.FileOSRaw() == 4);
    CHECK(version.FileTypeRaw() == 1);

    DWORD ignored = 0;
    std::vector<unsigned char> block(GetFileVersionInfoSizeW(kProgram.c_str(), &ignored));
    REQUIRE_FALSE(block.empty());
    REQUIRE(GetFileVersionInfoW(kProgram.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    REQUIRE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    CHECK(fixed->dwFileVersionMS == MAKELONG(2, 1));
    CHECK(fixed->dwFileVersionLS == 0);
    CHECK(fixed->dwProductVersionMS == MAKELONG(2, 1));
    CHECK(fixed->dwProductVersionLS == 0);
}

TEST_CASE("The program's own manifest selects Common Controls 6, runs as the invoking user and is DPI-aware") {
    ProgramImage image;
    REQUIRE(image.get());
    HRSRC resource = FindResourceW(image.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    REQUIRE(resource);
    HGLOBAL loaded = LoadResource(image.get(), resource);
    const char* bytes = static_cast<const char*>(LockResource(loaded));
    REQUIRE(bytes);
    const std::string manifest(bytes, SizeofResource(image.get(), resource));
    for (const char* expected :
         {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"", "processorArchitecture=\"*\"",
          "publicKeyToken=\"6595b64144ccf1df\"", "urn:schemas-microsoft-com:asm.v2",
          "level=\"asInvoker\"", "<dpiAware>true</dpiAware>"}) {
        CAPTURE(expected);
        CHECK(manifest.find(expected) != std::string::npos);
    }
}

TEST_CASE("The program is a GUI executable that imports only system libraries") {
    HMODULE module = LoadLibraryExW(kProgram.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    REQUIRE(module);
    const auto* base = reinterpret_cast<const unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    CHECK(nt->OptionalHeader.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI);

    // Static libgcc and libstdc++: every imported library is one the system has.
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    REQUIRE(imports.VirtualAddress != 0);
    int count = 0;
    for (const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name != 0; ++entry, ++count) {
        std::string name = reinterpret_cast<const char*>(base + entry->Name);
        CharLowerBuffA(name.data(), static_cast<DWORD>(name.size()));
        CAPTURE(name);
        wchar_t systemFolder[MAX_PATH] = {};
        GetSystemDirectoryW(systemFolder, MAX_PATH);
        const std::wstring inSystem = std::wstring(systemFolder) + L"\\" + std::wstring(name.begin(), name.end());
        CHECK(xpv_test::FileExists(inSystem));
        CHECK(name.find("libstdc++") == std::string::npos);
        CHECK(name.find("libgcc") == std::string::npos);
        CHECK(name.find("winpthread") == std::string::npos);
    }
    CHECK(count > 0);
    FreeLibrary(module);
}
