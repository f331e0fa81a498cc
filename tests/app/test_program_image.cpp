#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/VersionInfo.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

namespace {

struct Program {
    std::wstring path;
    WORD machine;
};

constexpr WORD kOwnMachine = sizeof(void*) == 8 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;
constexpr WORD kOtherMachine = sizeof(void*) == 8 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64;

// This build's program, and the other architecture's when its tree is built beside this one. Both
// are only read, never run: a host that runs no 32-bit code checks the 32-bit program this way.
std::vector<Program> ProgramsToRead() {
    std::vector<Program> programs{{XPV_PROGRAM_PATH, kOwnMachine}};
    if (xpv_test::FileExists(XPV_OTHER_PROGRAM_PATH)) {
        programs.push_back({XPV_OTHER_PROGRAM_PATH, kOtherMachine});
    } else {
        MESSAGE("the other architecture's program is not built: only this build's program is read");
    }
    return programs;
}

// The program file mapped as an image without running or resolving anything, which works for
// either architecture: resources and headers can be read at their relative addresses.
class ProgramImage {
public:
    explicit ProgramImage(const std::wstring& path)
        : module_(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ProgramImage() {
        if (module_) FreeLibrary(module_);
    }
    ProgramImage(const ProgramImage&) = delete;
    ProgramImage& operator=(const ProgramImage&) = delete;
    HMODULE get() const { return module_; }
    // The handle of a module loaded as data carries flags in its low bits.
    const unsigned char* Base() const {
        return reinterpret_cast<const unsigned char*>(reinterpret_cast<ULONG_PTR>(module_) & ~ULONG_PTR{3});
    }

private:
    HMODULE module_;
};

// The header fields checked here, from a 32-bit or a 64-bit optional header.
struct ImageHeaders {
    WORD machine;
    WORD subsystem;
    WORD majorSubsystemVersion;
    WORD minorSubsystemVersion;
    IMAGE_DATA_DIRECTORY imports;
};

template <typename NtHeaders>
ImageHeaders FieldsOf(const NtHeaders& nt) {
    return {nt.FileHeader.Machine, nt.OptionalHeader.Subsystem, nt.OptionalHeader.MajorSubsystemVersion,
            nt.OptionalHeader.MinorSubsystemVersion, nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT]};
}

ImageHeaders ReadHeaders(const unsigned char* base) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const unsigned char* nt = base + dos->e_lfanew;
    const auto* nt32 = reinterpret_cast<const IMAGE_NT_HEADERS32*>(nt);
    if (nt32->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
        return FieldsOf(*reinterpret_cast<const IMAGE_NT_HEADERS64*>(nt));
    }
    return FieldsOf(*nt32);
}

// The program's import descriptors, each with its library's name in lower case.
std::vector<std::pair<std::string, const IMAGE_IMPORT_DESCRIPTOR*>> ImportedLibraries(const unsigned char* base) {
    const ImageHeaders headers = ReadHeaders(base);
    std::vector<std::pair<std::string, const IMAGE_IMPORT_DESCRIPTOR*>> libraries;
    if (headers.imports.VirtualAddress == 0) return libraries;
    for (const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + headers.imports.VirtualAddress);
         entry->Name != 0; ++entry) {
        std::string name = reinterpret_cast<const char*>(base + entry->Name);
        CharLowerBuffA(name.data(), static_cast<DWORD>(name.size()));
        libraries.emplace_back(name, entry);
    }
    return libraries;
}

}  // namespace

TEST_CASE("The program carries its version resource") {
    for (const Program& program : ProgramsToRead()) {
        CAPTURE(program.path);
        VersionInfo version;
        version.SetFileName(program.path);
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
        std::vector<unsigned char> block(GetFileVersionInfoSizeW(program.path.c_str(), &ignored));
        REQUIRE_FALSE(block.empty());
        REQUIRE(GetFileVersionInfoW(program.path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        REQUIRE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
        CHECK(fixed->dwFileVersionMS == MAKELONG(2, 1));
        CHECK(fixed->dwFileVersionLS == 0);
        CHECK(fixed->dwProductVersionMS == MAKELONG(2, 1));
        CHECK(fixed->dwProductVersionLS == 0);
    }
}

TEST_CASE("The program's own manifest selects Common Controls 6, runs as the invoking user and is DPI-aware") {
    for (const Program& program : ProgramsToRead()) {
        CAPTURE(program.path);
        ProgramImage image(program.path);
        REQUIRE(image.get());
        HRSRC resource = FindResourceW(image.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
        REQUIRE(resource);
        HGLOBAL loaded = LoadResource(image.get(), resource);
        const char* bytes = static_cast<const char*>(LockResource(loaded));
        REQUIRE(bytes);
        const std::string manifest(bytes, SizeofResource(image.get(), resource));
        for (const char* expected :
             {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"", "processorArchitecture=\"*\"",
              "publicKeyToken=\"6595b64144ccf1df\"", "urn:schemas-microsoft-com:asm.v2", "level=\"asInvoker\"",
              "<dpiAware>true</dpiAware>"}) {
            CAPTURE(expected);
            CHECK(manifest.find(expected) != std::string::npos);
        }
    }
}

TEST_CASE("The program is a GUI executable of its architecture that imports only system libraries") {
    wchar_t systemFolder[MAX_PATH] = {};
    REQUIRE(GetSystemDirectoryW(systemFolder, MAX_PATH) > 0);
    for (const Program& program : ProgramsToRead()) {
        CAPTURE(program.path);
        ProgramImage image(program.path);
        REQUIRE(image.get());
        const unsigned char* base = image.Base();
        const ImageHeaders headers = ReadHeaders(base);
        CHECK(headers.machine == program.machine);
        CHECK(headers.subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI);
        if (program.machine == IMAGE_FILE_MACHINE_I386) {
            // Windows XP (5.1) refuses to start a program that asks for a newer subsystem.
            const int subsystemVersion = headers.majorSubsystemVersion * 100 + headers.minorSubsystemVersion;
            CHECK(subsystemVersion <= 501);
        }

        // Static libgcc and libstdc++: every imported library is one the system has (the names are
        // the same for both architectures).
        const auto libraries = ImportedLibraries(base);
        CHECK_FALSE(libraries.empty());
        for (const auto& [name, entry] : libraries) {
            CAPTURE(name);
            const std::wstring inSystem = std::wstring(systemFolder) + L"\\" + std::wstring(name.begin(), name.end());
            CHECK(xpv_test::FileExists(inSystem));
            CHECK(name.find("libstdc++") == std::string::npos);
            CHECK(name.find("libgcc") == std::string::npos);
            CHECK(name.find("winpthread") == std::string::npos);
        }
    }
}

TEST_CASE("The program imports from comctl32 by name only what Common Controls 5.8 also exports by name") {
    // On Windows XP a manifest beside the program, one that asks for no Common Controls 6, wins over
    // the program's own: comctl32 5.8 then loads, and a missing name would keep the program from
    // starting. These exist there by ordinal only, or not at all.
    const std::vector<std::string> onlyInVersion6 = {"SetWindowSubclass", "RemoveWindowSubclass", "DefSubclassProc",
                                                     "GetWindowSubclass", "TaskDialog", "TaskDialogIndirect",
                                                     "LoadIconMetric", "LoadIconWithScaleDown"};
    for (const Program& program : ProgramsToRead()) {
        CAPTURE(program.path);
        ProgramImage image(program.path);
        REQUIRE(image.get());
        const unsigned char* base = image.Base();
        const bool wide = program.machine == IMAGE_FILE_MACHINE_AMD64;
        bool importsCommonControls = false;
        for (const auto& [library, entry] : ImportedLibraries(base)) {
            if (library != "comctl32.dll") continue;
            importsCommonControls = true;
            const unsigned char* thunk = base + entry->OriginalFirstThunk;
            for (;; thunk += wide ? 8 : 4) {
                const ULONGLONG value = wide ? *reinterpret_cast<const ULONGLONG*>(thunk)
                                             : *reinterpret_cast<const DWORD*>(thunk);
                if (value == 0) break;
                const bool byOrdinal = wide ? (value >> 63) != 0 : (value >> 31) != 0;
                if (byOrdinal) continue;
                const std::string name = reinterpret_cast<const char*>(base + static_cast<DWORD>(value) + 2);
                CAPTURE(name);
                CHECK(std::find(onlyInVersion6.begin(), onlyInVersion6.end(), name) == onlyInVersion6.end());
            }
        }
        CHECK(importsCommonControls);
    }
}
