// The manifest a program carries in its own image: found with bounded reads, classified by
// whether it asks for Common Controls 6, and what the loader makes of it.
#include <windows.h>

#include <optional>
#include <string>

#include "manifest/ManifestFile.h"
#include "manifest/ManifestForExecutable.h"
#include "manifest/OwnManifest.h"
#include "platform/EmbeddedManifest.h"
#include "platform/TextEncoding.h"
#include "support/ComctlProbe.h"
#include "support/OwnManifestFixtures.h"
#include "support/TempFolder.h"
#include "support/TextBytes.h"
#include "support/doctest_wide.h"

using xpv_test::OwnManifestFixture;
using xpv_test::TempFolder;

namespace {

const char* KindName(OwnManifest kind) {
    switch (kind) {
        case OwnManifest::None: return "none";
        case OwnManifest::AsksForCommonControls6: return "asks for Common Controls 6";
        case OwnManifest::WithoutCommonControls6: return "without Common Controls 6";
    }
    return "?";
}

constexpr wchar_t kCommonControls6[] =
    L"<dependency><dependentAssembly><assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" "
    L"version=\"6.0.0.0\" processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>"
    L"</dependentAssembly></dependency>";

std::wstring Assembly(const std::wstring& inside) {
    return L"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
           L"<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n" +
           inside + L"\r\n</assembly>\r\n";
}

}  // namespace

TEST_CASE("A manifest's text asks for Common Controls 6 only through a dependency on version 6") {
    const struct {
        const char* what;
        std::wstring text;
        bool asks;
    } cases[] = {
        {"the dependency as programs carry it", Assembly(kCommonControls6), true},
        {"the document this program writes", Assembly(L"<dependency>\r\n    <dependentAssembly>\r\n"
                                                      L"        <assemblyIdentity\r\n            type=\"win32\"\r\n"
                                                      L"            name = \"Microsoft.Windows.Common-Controls\"\r\n"
                                                      L"            version = \"6.0.0.0\"\r\n        />\r\n"
                                                      L"    </dependentAssembly>\r\n</dependency>"),
         true},
        {"single quotes, name in other letter case, version 6.0.2600.0",
         Assembly(L"<dependency><dependentAssembly><assemblyIdentity version='6.0.2600.0' type='win32' "
                  L"name='microsoft.windows.common-controls'/></dependentAssembly></dependency>"),
         true},
        {"elements with a namespace prefix",
         L"<asmv1:assembly xmlns:asmv1=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"
         L"<asmv1:dependency><asmv1:dependentAssembly><asmv1:assemblyIdentity "
         L"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" type=\"win32\"></asmv1:assemblyIdentity>"
         L"</asmv1:dependentAssembly></asmv1:dependency></asmv1:assembly>",
         true},
        {"after a trust section and another dependency",
         Assembly(L"<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\"><security/></trustInfo>"
                  L"<dependency><dependentAssembly><assemblyIdentity name=\"Microsoft.VC90.CRT\" version=\"9.0.21022.8\"/>"
                  L"</dependentAssembly></dependency>" +
                  std::wstring(kCommonControls6)),
         true},
        {"the trust section only",
         Assembly(L"<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\"><security><requestedPrivileges>"
                  L"<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/></requestedPrivileges>"
                  L"</security></trustInfo>"),
         false},
        {"Common Controls of version 5",
         Assembly(L"<dependency><dependentAssembly><assemblyIdentity name=\"Microsoft.Windows.Common-Controls\" "
                  L"version=\"5.82.0.0\"/></dependentAssembly></dependency>"),
         false},
        {"version 60 is no version 6",
         Assembly(L"<dependency><dependentAssembly><assemblyIdentity name=\"Microsoft.Windows.Common-Controls\" "
                  L"version=\"60.0.0.0\"/></dependentAssembly></dependency>"),
         false},
        {"the dependency inside a comment", Assembly(L"<!-- " + std::wstring(kCommonControls6) + L" -->"), false},
        {"the dependency inside a CDATA section", Assembly(L"<x><![CDATA[" + std::wstring(kCommonControls6) + L"]]></x>"),
         false},
        {"the program's own identity named like Common Controls",
         Assembly(L"<assemblyIdentity name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" type=\"win32\"/>"),
         false},
        {"an identity after its dependentAssembly closed",
         Assembly(L"<dependency><dependentAssembly></dependentAssembly><assemblyIdentity "
                  L"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"/></dependency>"),
         false},
        {"the name without a version",
         Assembly(L"<dependency><dependentAssembly><assemblyIdentity name=\"Microsoft.Windows.Common-Controls\"/>"
                  L"</dependentAssembly></dependency>"),
         false},
        {"a '>' inside a value does not end the tag",
         Assembly(L"<dependency><dependentAssembly><assemblyIdentity description=\"a > b\" "
                  L"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"/></dependentAssembly></dependency>"),
         true},
        {"a document cut inside the identity", Assembly(kCommonControls6).substr(0, 250), false},
        {"no XML at all", L"MZ\x90 garbage < > \" '", false},
        {"empty", L"", false},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        CHECK(AsksForCommonControls6(c.text) == c.asks);
    }
}

TEST_CASE("A manifest resource in UTF-16 of either order or UTF-8, with or without a byte order mark, reads as its text") {
    const std::wstring text = L"\r\n " + Assembly(kCommonControls6);
    const std::string utf8 = Utf8FromWide(text);
    const std::string littleEndian = xpv_test::Utf16Bytes(text, false);
    const std::string bigEndian = xpv_test::Utf16Bytes(text, true);
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-8", utf8},
        {"UTF-8 after its mark", "\xEF\xBB\xBF" + utf8},
        {"UTF-16LE after its mark", "\xFF\xFE" + littleEndian},
        {"UTF-16LE after its mark, an odd last byte dropped", "\xFF\xFE" + littleEndian + "<"},
        {"UTF-16BE after its mark", "\xFE\xFF" + bigEndian},
        {"UTF-16LE without a mark", littleEndian},
        {"UTF-16BE without a mark", bigEndian},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        CHECK(DecodeEmbeddedManifest(c.bytes) == text);
    }
}

TEST_CASE("Programs are classified by the manifest in their own image; damaged ones count as none") {
    const struct {
        const wchar_t* fixture;
        OwnManifest kind;
    } cases[] = {
        {L"own_cc6", OwnManifest::AsksForCommonControls6},
        {L"own_cc6_german", OwnManifest::AsksForCommonControls6},
        {L"own_trust", OwnManifest::WithoutCommonControls6},
        {L"own_cc6_id2", OwnManifest::None},
        {L"own_cc6_utf-16be-marked", OwnManifest::AsksForCommonControls6},
        {L"own_cc6_utf-16le-unmarked", OwnManifest::AsksForCommonControls6},
        {L"own_large", OwnManifest::AsksForCommonControls6},
        // Its dependency lies past what is read: it still hides the file beside it.
        {L"own_oversized", OwnManifest::WithoutCommonControls6},
        {L"own_data-past-end", OwnManifest::None},
        {L"own_size-past-end", OwnManifest::None},
        {L"own_directory-loop", OwnManifest::None},
        {L"own_cut-directory", OwnManifest::None},
        {L"own_repeated-tree", OwnManifest::None},
    };
    for (const auto& c : cases) {
        CAPTURE(std::wstring(c.fixture));
        REQUIRE(xpv_test::FileExists(OwnManifestFixture(c.fixture)));
        CHECK(std::string(KindName(ClassifyOwnManifest(OwnManifestFixture(c.fixture)))) == KindName(c.kind));
    }

    TempFolder folder;
    CHECK(ClassifyOwnManifest(folder / L"missing.exe") == OwnManifest::None);
    CHECK(ClassifyOwnManifest(folder.AddFile(L"empty.exe")) == OwnManifest::None);
    REQUIRE(xpv_test::WriteBytes(folder / L"text.exe", "MZ but nothing after it"));
    CHECK(ClassifyOwnManifest(folder / L"text.exe") == OwnManifest::None);
    CHECK(ClassifyOwnManifest(folder.AddFolder(L"folder.exe")) == OwnManifest::None);
}

TEST_CASE("The embedded manifest's bytes are exactly those the build put there, up to the most read of one") {
    const std::optional<std::string> bytes = ReadEmbeddedManifest(OwnManifestFixture(L"own_cc6"));
    REQUIRE(bytes.has_value());
    CHECK(*bytes == xpv_test::ReadBytes(XPV_OWN_CC6_MANIFEST));

    const std::string oversized = xpv_test::ReadBytes(XPV_OWN_OVERSIZED_MANIFEST);
    REQUIRE(oversized.size() > kMostEmbeddedManifestRead);
    const std::optional<std::string> head = ReadEmbeddedManifest(OwnManifestFixture(L"own_oversized"));
    REQUIRE(head.has_value());
    CHECK(*head == oversized.substr(0, kMostEmbeddedManifestRead));
}

TEST_CASE("A resource tree that repeats its entries reads as no own manifest, at once") {
    // 200 entries of type 24 lead to one directory of 200 entries of id 1, which lead to one of
    // 200 languages: 8 million paths to one manifest asking for Common Controls 6.
    const std::wstring program = OwnManifestFixture(L"own_repeated-tree");
    REQUIRE(xpv_test::FileExists(program));
    const DWORD started = GetTickCount();
    CHECK_FALSE(ReadEmbeddedManifest(program).has_value());
    CHECK(ClassifyOwnManifest(program) == OwnManifest::None);
    // Generous: following every path took over a minute.
    CHECK(GetTickCount() - started < 5000);
}

TEST_CASE("The loader agrees: an own manifest with Common Controls 6 themes the program, one without hides the file beside it") {
    TempFolder folder;
    const std::wstring report = folder / L"loaded.txt";

    const std::wstring themedByMaker = folder / L"cc6.exe";
    REQUIRE(CopyFileW(OwnManifestFixture(L"own_cc6").c_str(), themedByMaker.c_str(), FALSE));
    CHECK(xpv_test::LoadedCommonControls(themedByMaker, report).find(L"\\winsxs\\") != std::wstring::npos);

    // What Windows Vista and later do with such a program, and what Wine does too.
    const std::wstring trustOnly = folder / L"trust.exe";
    REQUIRE(CopyFileW(OwnManifestFixture(L"own_trust").c_str(), trustOnly.c_str(), FALSE));
    REQUIRE(WriteManifestForExecutable(trustOnly, {L"Company", L"Product", L"trust.exe", L"Description"}));
    REQUIRE(IsManifestPresent(ManifestPathFor(trustOnly)));
    CHECK(xpv_test::IsSystemCommonControls(xpv_test::LoadedCommonControls(trustOnly, report)));
}
