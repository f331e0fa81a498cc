#include "support/doctest_wide.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <ostream>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/VersionInfo.h"
#include "support/TempFolder.h"

using namespace std::string_literals;

namespace {

constexpr int32_t kNoModuleHandle = static_cast<int32_t>(0x812E7845u);
constexpr int32_t kNoVersionBlock = static_cast<int32_t>(0x812E7849u);
constexpr int32_t kNoTranslation = static_cast<int32_t>(0x812E784Au);
constexpr int32_t kNoFixedInformation = static_cast<int32_t>(0x812E784Bu);

const std::map<int32_t, std::wstring> kDescriptions = {
    {kNoModuleHandle, L"Unable to retrieve module handle."},
    {static_cast<int32_t>(0x812E7846u), L"Unable to retrieve module file name."},
    {kNoVersionBlock, L"Unable to retrieve version information."},
    {kNoTranslation, L"Unable to retrieve language and code page information."},
    {kNoFixedInformation, L"Unable to retrieve fixed file version information."},
};

std::wstring Fixture(const std::wstring& name) {
    return VERSION_FIXTURE_DIR + name + L".dll";
}

// Everything an object offers after a load, so that two loads can be compared at once.
struct Snapshot {
    std::wstring fileName;
    int32_t language;
    int32_t codePage;
    std::vector<std::wstring> texts;  // the fourteen string-table entries
    int32_t flagsRaw;
    std::wstring flags;
    int32_t osRaw;
    std::wstring os;
    int32_t typeRaw;
    std::wstring type;
    int32_t subtypeRaw;
    std::wstring subtype;
    bool operator==(const Snapshot&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Snapshot& s) {
    out << xpv_test::ToUtf8(s.fileName) << " language " << s.language << " code page " << s.codePage;
    for (const std::wstring& text : s.texts) {
        out << " [" << xpv_test::ToUtf8(text) << "]";
    }
    return out << " flags " << s.flagsRaw << " [" << xpv_test::ToUtf8(s.flags) << "] os " << s.osRaw
               << " [" << xpv_test::ToUtf8(s.os) << "] type " << s.typeRaw << " ["
               << xpv_test::ToUtf8(s.type) << "] subtype " << s.subtypeRaw << " ["
               << xpv_test::ToUtf8(s.subtype) << "]";
}

Snapshot Take(const VersionInfo& info) {
    return {info.FileName(),
            info.Language(),
            info.CodePage(),
            {info.CompanyName(), info.FileDescription(), info.FileVersion(), info.InternalName(),
             info.LegalCopyright(), info.OriginalFileName(), info.ProductName(),
             info.ProductVersion(), info.LegalTrademarks(), info.LegalTrademarks1(),
             info.LegalTrademarks2(), info.Comments(), info.PrivateBuild(), info.SpecialBuild()},
            info.FileFlagsRaw(),
            info.FileFlags(),
            info.FileOSRaw(),
            info.FileOS(),
            info.FileTypeRaw(),
            info.FileType(),
            info.FileSubTypeRaw(),
            info.FileSubType()};
}

// What an object without version information offers.
Snapshot Empty(const std::wstring& fileName) {
    return {fileName, 0, 0, std::vector<std::wstring>(14), 0, L"", 0, L"Unknown API", 0, L"Unknown",
            0, L"Unknown"};
}

std::string HexList(const std::vector<int32_t>& numbers) {
    std::string list;
    for (const int32_t number : numbers) {
        char hex[12];
        std::snprintf(hex, sizeof hex, " %08X", static_cast<unsigned>(number));
        list += hex;
    }
    return list;
}

std::vector<int32_t> ErrorNumbers(const VersionInfo& info) {
    std::vector<int32_t> numbers;
    for (const VersionInfoError& error : info.LoadErrors()) {
        numbers.push_back(error.number);
    }
    return numbers;
}

// The last load raised exactly these errors, in this order, each with its source and description;
// the last of them is the one recorded.
void CheckErrors(const VersionInfo& info, const std::vector<int32_t>& expected) {
    CHECK(HexList(ErrorNumbers(info)) == HexList(expected));
    for (const VersionInfoError& error : info.LoadErrors()) {
        CHECK(error.source == L"VersionInfo"s);
        REQUIRE(kDescriptions.count(error.number) == 1);
        CHECK(error.description == kDescriptions.at(error.number));
    }
    CHECK(info.LastError().number == (expected.empty() ? 0 : expected.back()));
}

std::wstring OwnExecutablePath() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

bool EndsWithIgnoringCase(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() &&
           CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str() + text.size() - tail.size(),
                          static_cast<int>(tail.size()), tail.c_str(),
                          static_cast<int>(tail.size())) == CSTR_EQUAL;
}

}  // namespace

TEST_CASE("A new object and a file without version information read as empty and zero") {
    CHECK(Take(VersionInfo{}) == Empty(L""));
    CHECK(VersionInfo{}.LastError().number == 0);

    const std::wstring missingFiles[] = {
        Fixture(L"no_version_resource"),
        Fixture(L"no_such_file"),
        VERSION_FIXTURE_DIR,  // a directory
        L"",
    };
    for (const std::wstring& path : missingFiles) {
        CAPTURE(path);
        VersionInfo info;
        info.SetFileName(path);
        CHECK(Take(info) == Empty(path));
        CHECK(info.ModuleName().empty());
        CheckErrors(info, {kNoVersionBlock, kNoTranslation, kNoFixedInformation});
    }
}

TEST_CASE("Every string property reads its own entry; translation 0/0 is read as 040904E4") {
    using Getter = std::wstring (VersionInfo::*)() const;
    struct Entry {
        Getter getter;
        std::wstring expected;
    };
    const Entry entries[] = {
        {&VersionInfo::CompanyName, L"Neutral Company"},
        {&VersionInfo::FileDescription, L"Neutral description"},
        {&VersionInfo::FileVersion, L"1.2.3.4"},
        {&VersionInfo::InternalName, L"neutral"},
        {&VersionInfo::LegalCopyright, L"Copyright Neutral"},
        {&VersionInfo::OriginalFileName, L"neutral.dll"},  // filed as "OriginalFilename"
        {&VersionInfo::ProductName, L"Neutral Product"},
        {&VersionInfo::ProductVersion, L"5.6"},
        {&VersionInfo::LegalTrademarks, L"Trademark zero"},
        {&VersionInfo::LegalTrademarks1, L"Trademark one"},
        {&VersionInfo::LegalTrademarks2, L"Trademark two"},
        {&VersionInfo::Comments, L"A comment"},
        {&VersionInfo::PrivateBuild, L"private build"},
        {&VersionInfo::SpecialBuild, L"special build"},
    };
    VersionInfo info;
    info.SetFileName(Fixture(L"translation_zero"));
    CHECK(info.FileName() == Fixture(L"translation_zero"));
    CHECK(info.Language() == 0x0409);
    CHECK(info.CodePage() == 1252);
    CheckErrors(info, {});
    for (const Entry& entry : entries) {
        CAPTURE(entry.expected);
        CHECK((info.*entry.getter)() == entry.expected);
    }
}

TEST_CASE("The first translation decides language, code page and the string table read") {
    struct Case {
        std::wstring fixture;
        int32_t language;
        int32_t codePage;
        std::wstring companyName;
        std::wstring productName;
        std::vector<int32_t> errors;
    };
    const Case cases[] = {
        // The German table has no product name; the English one must not stand in for it.
        {L"several_translations", 0x0407, 1252, L"German company", L"", {}},
        {L"swedish_unicode", 1053, 1200, L"Svenskt bolag", L"Svensk produkt", {}},
        {L"utf8_codepage", 0x0409, 65001, L"", L"Caf\u00e9 \u03a9mega", {}},
        // Without a translation table no string can be found.
        {L"no_translation", 0, 0, L"", L"", {kNoTranslation}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.fixture);
        VersionInfo info;
        info.SetFileName(Fixture(c.fixture));
        CHECK(info.Language() == c.language);
        CHECK(info.CodePage() == c.codePage);
        CHECK(info.CompanyName() == c.companyName);
        CHECK(info.ProductName() == c.productName);
        CheckErrors(info, c.errors);
    }
}

TEST_CASE("Without a translation table the fixed information is still read") {
    VersionInfo info;
    info.SetFileName(Fixture(L"no_translation"));
    CHECK(info.FileFlagsRaw() == 0x21);
    CHECK(info.FileFlags() == L"Debug Special "s);
    CHECK(info.FileOS() == L"Win32 API on Windows NT"s);
    CHECK(info.FileType() == L"Application"s);
}

TEST_CASE("Fixed information as numbers and as words") {
    struct Case {
        std::wstring fixture;
        int32_t flagsRaw;
        std::wstring flags;
        int32_t osRaw;
        std::wstring os;
        int32_t typeRaw;
        std::wstring type;
        int32_t subtypeRaw;
        std::wstring subtype;
    };
    const Case cases[] = {
        {L"flags_all_set", 0x3F, L"Debug Patched Pre-release Private Special ", 0x00040004,
         L"Win32 API on Windows NT", 1, L"Application", 0, L"Unknown"},
        // Mask 0x15 over flags 0x3F; 0x10 has no word.
        {L"flags_masked", 0x15, L"Debug Patched ", 4, L"Win32 API", 3, L"Driver", 6, L"Network"},
        {L"flag_0x10_only", 0x10, L"", 0x00010001, L"Win16 API on DOS", 4, L"Font", 3,
         L"TrueType"},
        {L"virtual_device", 0x06, L"Patched Pre-release ", 0x00020002, L"PM16 API on OS2/16", 5,
         L"VXD", 0x2A, L"42"},
        {L"type_6", 0x08, L"Private ", 0x00030003, L"PM32 API on OS2/32", 6, L"", 1, L"Unknown"},
        {L"static_library", 0x20, L"Special ", 0, L"Unknown API", 7, L"Static-link library", 0,
         L"Unknown"},
        {L"driver_input_method", 0, L"", 0x00040000, L"Unknown API on Windows NT", 3, L"Driver", 11,
         L"Input Method"},
        {L"driver_subtype_12", 0, L"", 0x00050004, L"Win32 API", 3, L"Driver", 12, L"Unknown"},
        {L"driver_printer", 0, L"", 0x00040001, L"Win16 API on Windows NT", 3, L"Driver", 1,
         L"Printer"},
        {L"font_raster", 0, L"", 0x00040004, L"Win32 API on Windows NT", 4, L"Font", 1, L"Raster"},
        {L"font_subtype_4", 0, L"", 0x00040004, L"Win32 API on Windows NT", 4, L"Font", 4,
         L"Unknown"},
        {L"dll_with_subtype", 0, L"", 0x00040005, L"Unknown API on Windows NT", 2, L"DLL", 1,
         L"Unknown"},
        // A high word that names no system adds nothing; the raw field is signed.
        {L"unknown_type", 0, L"", static_cast<int32_t>(0x80040004u), L"Win32 API", 0, L"Unknown",
         0, L"Unknown"},
        {L"type_8", 0, L"", 0x00040004, L"Win32 API on Windows NT", 8, L"", 5, L"Unknown"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.fixture);
        VersionInfo info;
        info.SetFileName(Fixture(c.fixture));
        CheckErrors(info, {});
        CHECK(info.ProductName() == c.fixture);
        CHECK(info.FileFlagsRaw() == c.flagsRaw);
        CHECK(info.FileFlags() == c.flags);
        CHECK(info.FileOSRaw() == c.osRaw);
        CHECK(info.FileOS() == c.os);
        CHECK(info.FileTypeRaw() == c.typeRaw);
        CHECK(info.FileType() == c.type);
        CHECK(info.FileSubTypeRaw() == c.subtypeRaw);
        CHECK(info.FileSubType() == c.subtype);
    }
}

TEST_CASE("One object reused over several files gives what a new object gives for each") {
    const std::vector<std::vector<std::wstring>> sequences = {
        {L"translation_zero", L"no_version_resource", L"swedish_unicode"},
        {L"flags_all_set", L"no_translation", L"no_such_file", L"virtual_device"},
        {L"several_translations", L"utf8_codepage", L"empty-translation", L"translation_zero"},
    };
    for (const auto& sequence : sequences) {
        VersionInfo reused;
        for (const std::wstring& name : sequence) {
            CAPTURE(name);
            reused.SetFileName(Fixture(name));
            VersionInfo fresh;
            fresh.SetFileName(Fixture(name));
            CHECK(Take(reused) == Take(fresh));
            CheckErrors(reused, ErrorNumbers(fresh));
        }
    }
}

TEST_CASE("Damaged or unusual version blocks read as empty or truncated texts, never more") {
    struct Case {
        std::wstring fixture;
        std::wstring companyName;
        std::wstring productName;
        std::wstring fileDescription;
        std::wstring comments;
        int32_t language;
        int32_t flagsRaw;
        std::vector<int32_t> errors;
    };
    const Case cases[] = {
        {L"patch_base", L"Company", L"Product", L"Before|After", L"Untouched", 0x0409, 1, {}},
        // A NUL inside the text ends it.
        {L"embedded-nul", L"Company", L"Product", L"Before", L"Untouched", 0x0409, 1, {}},
        // The whole block claims 64 KB; the values inside it are still where they were.
        {L"inflated-block", L"Company", L"Product", L"Before|After", L"Untouched", 0x0409, 1, {}},
        // A length that reaches past the block: nothing of that value is read.
        {L"string-beyond-block", L"", L"Product", L"Before|After", L"Untouched", 0x0409, 1, {}},
        // No NUL where the length puts it: the text stops before that last character.
        {L"value-without-nul", L"Company", L"Product", L"Before|After", L"Untouched", 0x0409, 1, {}},
        // A translation table empty, short or reaching past the block counts as missing.
        {L"empty-translation", L"", L"", L"", L"", 0, 1, {kNoTranslation}},
        {L"short-translation", L"", L"", L"", L"", 0, 1, {kNoTranslation}},
        {L"translation-beyond-block", L"", L"", L"", L"", 0, 1, {kNoTranslation}},
        // A fixed record shorter than its structure is no fixed record.
        {L"short-fixed-record", L"", L"", L"", L"", 0, 0, {kNoTranslation, kNoFixedInformation}},
        // A block of the 16-bit format claiming 64 KB: the system would write its converted
        // texts past the block's buffer.
        {L"sixteen-bit-block", L"", L"", L"", L"", 0, 0,
         {kNoVersionBlock, kNoTranslation, kNoFixedInformation}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.fixture);
        VersionInfo info;
        info.SetFileName(Fixture(c.fixture));
        CHECK(info.CompanyName() == c.companyName);
        CHECK(info.ProductName() == c.productName);
        CHECK(info.FileDescription() == c.fileDescription);
        CHECK(info.Comments() == c.comments);
        CHECK(info.Language() == c.language);
        CHECK(info.FileFlagsRaw() == c.flagsRaw);
        CheckErrors(info, c.errors);
    }
}

namespace {

void Put16(std::string& bytes, size_t at, size_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

// A block of the 16-bit format: wLength, wValueLength and an ANSI key, then the value and the
// children, each on a 4-byte boundary.
std::string Block16(const std::string& key, const std::string& value, const std::string& children = "") {
    std::string block(4, '\0');
    block += key + '\0';
    block.resize((block.size() + 3) & ~size_t{3}, '\0');
    block += value;
    block.resize((block.size() + 3) & ~size_t{3}, '\0');
    block += children;
    Put16(block, 0, block.size());
    Put16(block, 2, value.size());
    return block;
}

// A 16-bit program whose one resource is a version block naming a company; the block claims
// 64 KB, far more than the resource holds.
std::string SixteenBitProgram() {
    constexpr size_t kNewHeader = 0x80;
    constexpr size_t kResourceTable = 0x40;  // from the new header
    constexpr size_t kBlockAt = 0x200;
    constexpr size_t kShift = 4;
    std::string block = Block16(
        "VS_VERSION_INFO", std::string(52, '\0'),
        Block16("StringFileInfo", "", Block16("040904E4", "", Block16("CompanyName", std::string("Company16", 10)))) +
            Block16("VarFileInfo", "", Block16("Translation", std::string("\x09\x04\xE4\x04", 4))));
    const size_t units = (block.size() + 15) >> kShift;
    Put16(block, 0, 0xFFFF);

    std::string image(kBlockAt, '\0');
    image[0] = 'M', image[1] = 'Z';
    Put16(image, 0x3C, kNewHeader);
    image[kNewHeader] = 'N', image[kNewHeader + 1] = 'E';
    Put16(image, kNewHeader + 0x24, kResourceTable);
    Put16(image, kNewHeader + 0x26, kResourceTable + 0x40);  // the table of names after it
    const size_t table = kNewHeader + kResourceTable;
    Put16(image, table, kShift);
    Put16(image, table + 2, 0x8010);  // type: version
    Put16(image, table + 4, 1);       // one resource of it
    Put16(image, table + 10, kBlockAt >> kShift);
    Put16(image, table + 12, units);
    Put16(image, table + 14, 0x30);
    Put16(image, table + 16, 0x8001);  // name: 1
    return image + block + std::string((units << kShift) - block.size(), '\0');
}

}  // namespace

TEST_CASE("A damaged resource directory, or a file that is no PE image, reads as no version information") {
    const std::wstring damagedImages[] = {
        L"data-past-end", L"size-past-end", L"size-past-section", L"directory-loop", L"cut-directory",
    };
    for (const std::wstring& name : damagedImages) {
        CAPTURE(name);
        VersionInfo info;
        info.SetFileName(Fixture(name));
        CHECK(Take(info) == Empty(Fixture(name)));
        CheckErrors(info, {kNoVersionBlock, kNoTranslation, kNoFixedInformation});
    }

    const xpv_test::TempFolder folder;
    const struct {
        const wchar_t* name;
        std::string bytes;
    } otherFiles[] = {
        {L"empty.exe", ""},
        {L"text.exe", "just some text, not a program\r\n"},
        {L"sixteen-bit.exe", SixteenBitProgram()},
    };
    for (const auto& file : otherFiles) {
        CAPTURE(file.name);
        const std::wstring path = folder / file.name;
        REQUIRE(xpv_test::WriteBytes(path, file.bytes));
        VersionInfo info;
        info.SetFileName(path);
        CHECK(Take(info) == Empty(path));
        CheckErrors(info, {kNoVersionBlock, kNoTranslation, kNoFixedInformation});
    }
}

TEST_CASE("ModuleName of a module that is not loaded reads the program's own executable") {
    VersionInfo info;
    info.SetModuleName(L"xpv_module_never_loaded.dll");
    CHECK(info.ModuleName() == L"xpv_module_never_loaded.dll"s);
    CHECK(info.FileName() == OwnExecutablePath());
    CHECK(EndsWithIgnoringCase(info.FileName(), L"\\test_version_info.exe"));
    // The test program carries no version resource.
    CHECK(Take(info) == Empty(OwnExecutablePath()));
    CheckErrors(info, {kNoModuleHandle, kNoVersionBlock, kNoTranslation, kNoFixedInformation});
}

TEST_CASE("ModuleName of a loaded module reads that module's file; a later FileName wins") {
    VersionInfo info;
    info.SetModuleName(L"kernel32.dll");
    CHECK(info.ModuleName() == L"kernel32.dll"s);
    CHECK(EndsWithIgnoringCase(info.FileName(), L"\\kernel32.dll"));
    CHECK(info.FileType() == L"DLL"s);
    CheckErrors(info, {});

    info.SetFileName(Fixture(L"swedish_unicode"));
    CHECK(info.ModuleName().empty());
    CHECK(info.FileName() == Fixture(L"swedish_unicode"));
    CHECK(info.CompanyName() == L"Svenskt bolag"s);
    CheckErrors(info, {});
}

namespace {

struct LibraryRelease {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using LoadedLibrary = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryRelease>;

// A copy of a fixture at the bottom of a chain of directories whose path is longer than
// MAX_PATH; removed again with its directories.
class DeepCopy {
public:
    DeepCopy(const std::wstring& source, const std::wstring& fileName) {
        std::wstring directory(MAX_PATH, L'\0');
        directory.resize(GetCurrentDirectoryW(MAX_PATH, directory.data()));
        for (int level = 0; level < 8; ++level) {
            directory += L"\\deep_directory_for_a_long_module_path_" + std::to_wstring(level);
            CreateDirectoryW((kLongPrefix + directory).c_str(), nullptr);
            directories_.push_back(directory);
        }
        path_ = directory + L"\\" + fileName;
        copied_ = CopyFileW(source.c_str(), (kLongPrefix + path_).c_str(), FALSE) != FALSE;
    }
    ~DeepCopy() {
        DeleteFileW((kLongPrefix + path_).c_str());
        for (auto it = directories_.rbegin(); it != directories_.rend(); ++it) {
            RemoveDirectoryW((kLongPrefix + *it).c_str());
        }
    }
    DeepCopy(const DeepCopy&) = delete;
    DeepCopy& operator=(const DeepCopy&) = delete;

    const std::wstring& Path() const { return path_; }
    bool Copied() const { return copied_; }

private:
    static constexpr const wchar_t* kLongPrefix = L"\\\\?\\";
    std::vector<std::wstring> directories_;
    std::wstring path_;
    bool copied_ = false;
};

}  // namespace

TEST_CASE("A module path longer than MAX_PATH is kept whole") {
    const DeepCopy copy(Fixture(L"swedish_unicode"), L"xpv_long_path_module.dll");
    REQUIRE(copy.Copied());
    REQUIRE(copy.Path().size() > MAX_PATH);
    const LoadedLibrary library(LoadLibraryW(copy.Path().c_str()));
    REQUIRE(library != nullptr);

    VersionInfo info;
    info.SetModuleName(L"xpv_long_path_module.dll");
    CHECK(info.FileName() == copy.Path());
    CHECK(info.CompanyName() == L"Svenskt bolag"s);
    CheckErrors(info, {});
}

TEST_CASE("A file path longer than MAX_PATH reads as the same file at a short path") {
    const DeepCopy copy(Fixture(L"swedish_unicode"), L"xpv_long_path_file.dll");
    REQUIRE(copy.Copied());
    REQUIRE(copy.Path().size() > MAX_PATH);
    VersionInfo deep;
    deep.SetFileName(copy.Path());
    VersionInfo shallow;
    shallow.SetFileName(Fixture(L"swedish_unicode"));
    Snapshot expected = Take(shallow);
    expected.fileName = copy.Path();
    CHECK(Take(deep) == expected);
    CHECK(deep.CompanyName() == L"Svenskt bolag"s);
    CheckErrors(deep, {});
}
