#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "manifest/ExecutableArchitecture.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using xpv_test::TempFolder;
using xpv_test::WriteBytes;

namespace {

// Layout of the small image below.
constexpr size_t kNtHeaders = 0x80;
constexpr size_t kFileHeader = kNtHeaders + 4;
constexpr size_t kOptionalHeader = kFileHeader + 20;
constexpr size_t kOptionalHeaderSize = 0xE0;
constexpr size_t kSectionTable = kOptionalHeader + kOptionalHeaderSize;
constexpr size_t kClrDirectory = kOptionalHeader + 96 + 14 * 8;
constexpr uint32_t kSectionRva = 0x2000;
constexpr size_t kSectionData = 0x200;
constexpr size_t kImageSize = 0x400;
constexpr size_t kClrFlags = kSectionData + 16;

void Put16(std::string& image, size_t at, uint16_t value) {
    image[at] = static_cast<char>(value & 0xFF);
    image[at + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string& image, size_t at, uint32_t value) {
    Put16(image, at, static_cast<uint16_t>(value & 0xFFFF));
    Put16(image, at + 2, static_cast<uint16_t>(value >> 16));
}

// A PE32 header with one section; with CLR flags it also carries a CLR header in that section,
// as a .NET program does.
std::string CraftedImage(uint16_t machine, bool clr = false, uint32_t clrFlags = 0) {
    std::string image(kImageSize, '\0');
    image[0] = 'M', image[1] = 'Z';
    Put32(image, 0x3C, kNtHeaders);
    image.replace(kNtHeaders, 4, std::string("PE\0\0", 4));
    Put16(image, kFileHeader, machine);
    Put16(image, kFileHeader + 2, 1);                                   // sections
    Put16(image, kFileHeader + 16, kOptionalHeaderSize);
    Put16(image, kFileHeader + 18, 0x0102);                             // executable, 32-bit
    Put16(image, kOptionalHeader, 0x10B);                               // PE32
    Put32(image, kOptionalHeader + 92, 16);                             // data directories
    image.replace(kSectionTable, 5, ".text");
    Put32(image, kSectionTable + 8, 0x1000);                            // virtual size
    Put32(image, kSectionTable + 12, kSectionRva);
    Put32(image, kSectionTable + 16, kImageSize - kSectionData);        // raw size
    Put32(image, kSectionTable + 20, kSectionData);                     // raw pointer
    if (clr) {
        Put32(image, kClrDirectory, kSectionRva);
        Put32(image, kClrDirectory + 4, 72);
        Put32(image, kSectionData, 72);                                 // header size
        Put16(image, kSectionData + 4, 2);
        Put16(image, kSectionData + 6, 5);
        Put32(image, kClrFlags, clrFlags);
    }
    return image;
}

constexpr uint32_t kIlOnly = 0x1;
constexpr uint32_t k32BitRequired = 0x2;
constexpr uint32_t kStrongNameSigned = 0x8;
constexpr uint32_t k32BitPreferred = 0x20000;

ProcessorArchitecture ArchitectureOfBytes(const TempFolder& folder, const std::string& bytes) {
    const std::wstring path = folder / L"image.exe";
    REQUIRE(WriteBytes(path, bytes));
    return ReadExecutableArchitecture(path);
}

}  // namespace

TEST_CASE("Real executables built by the cross compilers") {
    const struct {
        const wchar_t* path;
        ProcessorArchitecture expected;
    } cases[] = {
        {XPV_PROBE_X86, ProcessorArchitecture::X86},
        {XPV_PROBE_X64, ProcessorArchitecture::Amd64},
    };
    for (const auto& c : cases) {
        if (*c.path == L'\0') {
            MESSAGE("no cross compiler for this architecture: case skipped");
            continue;
        }
        CAPTURE(std::wstring(c.path));
        REQUIRE(GetFileAttributesW(c.path) != INVALID_FILE_ATTRIBUTES);
        CHECK(ReadExecutableArchitecture(c.path) == c.expected);
        CHECK(ReadProgramArchitecture(c.path) == c.expected);
    }

    wchar_t self[MAX_PATH];
    REQUIRE(GetModuleFileNameW(nullptr, self, MAX_PATH) > 0);
    CHECK(ReadExecutableArchitecture(self) ==
          (sizeof(void*) == 8 ? ProcessorArchitecture::Amd64 : ProcessorArchitecture::X86));
}

TEST_CASE("Machine field and CLR header of crafted images") {
    TempFolder folder;
    const struct {
        const char* what;
        std::string image;
        ProcessorArchitecture expected;
    } cases[] = {
        {"x86", CraftedImage(0x014C), ProcessorArchitecture::X86},
        {"x64", CraftedImage(0x8664), ProcessorArchitecture::Amd64},
        {"ARM64", CraftedImage(0xAA64), ProcessorArchitecture::Arm64},
        {"Itanium", CraftedImage(0x0200), ProcessorArchitecture::Ia64},
        {"unknown machine", CraftedImage(0x01C4), ProcessorArchitecture::X86},
        {".NET any processor", CraftedImage(0x014C, true, kIlOnly), ProcessorArchitecture::AnyProcessor},
        {".NET any processor, signed", CraftedImage(0x014C, true, kIlOnly | kStrongNameSigned),
         ProcessorArchitecture::AnyProcessor},
        {".NET 32 bits required", CraftedImage(0x014C, true, kIlOnly | k32BitRequired), ProcessorArchitecture::X86},
        {".NET 32 bits preferred", CraftedImage(0x014C, true, kIlOnly | k32BitRequired | k32BitPreferred),
         ProcessorArchitecture::X86},
        {".NET preferred flag alone", CraftedImage(0x014C, true, kIlOnly | k32BitPreferred),
         ProcessorArchitecture::X86},
        {"mixed native and .NET code", CraftedImage(0x014C, true, 0), ProcessorArchitecture::X86},
        {".NET header in an x64 image", CraftedImage(0x8664, true, kIlOnly), ProcessorArchitecture::Amd64},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        CHECK(ArchitectureOfBytes(folder, c.image) == c.expected);
    }
}

TEST_CASE("Files that are no PE image, and truncated or hostile headers, read as X86 without harm") {
    TempFolder folder;

    CHECK(ReadExecutableArchitecture(folder / L"missing.exe") == ProcessorArchitecture::X86);
    CHECK(ReadExecutableArchitecture(folder.Path()) == ProcessorArchitecture::X86);
    CHECK(ArchitectureOfBytes(folder, "") == ProcessorArchitecture::X86);
    CHECK(ArchitectureOfBytes(folder, "just some text, not a program\r\n") == ProcessorArchitecture::X86);

    const std::string anyProcessor = CraftedImage(0x014C, true, kIlOnly);
    const auto mutated = [&](const std::function<void(std::string&)>& change) {
        std::string image = anyProcessor;
        change(image);
        return image;
    };
    const struct {
        const char* what;
        std::string image;
    } hostile[] = {
        {"MS-DOS program", mutated([](std::string& i) { Put32(i, 0x3C, 0); })},
        {"NT headers past the end", mutated([](std::string& i) { Put32(i, 0x3C, 0xFFFFFFF0); })},
        {"NT headers at the last bytes", mutated([](std::string& i) { Put32(i, 0x3C, kImageSize - 4); })},
        {"wrong signature", mutated([](std::string& i) { i[kNtHeaders + 1] = 'X'; })},
        {"no optional header", mutated([](std::string& i) { Put16(i, kFileHeader + 16, 0); })},
        {"optional header past the end", mutated([](std::string& i) { Put16(i, kFileHeader + 16, 0xFFFF); })},
        {"optional header cut before the CLR entry",
         mutated([](std::string& i) { Put16(i, kFileHeader + 16, 96 + 14 * 8 + 4); })},
        {"unknown optional header", mutated([](std::string& i) { Put16(i, kOptionalHeader, 0x107); })},
        {"no CLR entry counted", mutated([](std::string& i) { Put32(i, kOptionalHeader + 92, 14); })},
        {"CLR entry outside every section", mutated([](std::string& i) { Put32(i, kClrDirectory, 0x9000); })},
        {"section data past the end", mutated([](std::string& i) { Put32(i, kSectionTable + 20, 0xFFFFFFF0); })},
        {"section table past the end", mutated([](std::string& i) { Put16(i, kFileHeader + 2, 0xFFFF); })},
        {"no sections", mutated([](std::string& i) { Put16(i, kFileHeader + 2, 0); })},
        // In 32-bit arithmetic this offset would wrap around to the real CLR header.
        {"section data offset beyond 4 GiB", mutated([](std::string& i) {
             Put32(i, kSectionTable + 20, 0xFFFFFE10);
             Put32(i, kClrDirectory, kSectionRva + 0x3F0);
         })},
        {"CLR header too small", mutated([](std::string& i) { Put32(i, kSectionData, 8); })},
    };
    for (const auto& c : hostile) {
        CAPTURE(c.what);
        CHECK(ArchitectureOfBytes(folder, c.image) == ProcessorArchitecture::X86);
    }

    // Cut at every length: only a file that holds the CLR flags is read as a .NET program.
    for (size_t length = 0; length <= anyProcessor.size(); ++length) {
        CAPTURE(length);
        CHECK(ArchitectureOfBytes(folder, anyProcessor.substr(0, length)) ==
              (length >= kClrFlags + 4 ? ProcessorArchitecture::AnyProcessor : ProcessorArchitecture::X86));
    }
}

TEST_CASE("A file is a Windows program only with MZ, NT headers in the file, the PE signature and a PE32 or PE32+ header") {
    TempFolder folder;
    const std::string image = CraftedImage(0x8664);
    const auto mutated = [&](const std::function<void(std::string&)>& change) {
        std::string changed = image;
        change(changed);
        return changed;
    };
    const struct {
        const char* what;
        std::string bytes;
        bool program;
    } cases[] = {
        {"PE32", image, true},
        {"PE32+", mutated([](std::string& i) { Put16(i, kOptionalHeader, 0x20B); }), true},
        {"empty", "", false},
        {"text", "just some text, not a program\r\n", false},
        {"MZ alone", "MZ", false},
        {"MS-DOS program", mutated([](std::string& i) { Put32(i, 0x3C, 0); }), false},
        {"NT headers past the end", mutated([](std::string& i) { Put32(i, 0x3C, kImageSize); }), false},
        {"wrong signature", mutated([](std::string& i) { i[kNtHeaders] = 'N'; }), false},
        {"ROM optional header", mutated([](std::string& i) { Put16(i, kOptionalHeader, 0x107); }), false},
        {"no optional header", mutated([](std::string& i) { Put16(i, kFileHeader + 16, 0); }), false},
        {"cut inside the file header", image.substr(0, kFileHeader + 10), false},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        const std::wstring path = folder / L"candidate.exe";
        REQUIRE(WriteBytes(path, c.bytes));
        const std::optional<ProcessorArchitecture> architecture = ReadProgramArchitecture(path);
        CHECK(architecture.has_value() == c.program);
        if (c.program) CHECK(*architecture == ProcessorArchitecture::Amd64);
    }
    CHECK_FALSE(ReadProgramArchitecture(folder / L"missing.exe").has_value());
    CHECK_FALSE(ReadProgramArchitecture(folder.Path()).has_value());
}
