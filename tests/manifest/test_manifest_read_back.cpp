#include <windows.h>

#include <string>

#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFile.h"
#include "manifest/ManifestForExecutable.h"
#include "manifest/ManifestReadBack.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using xpv_test::TempFolder;
using xpv_test::WriteBytes;

namespace {

std::wstring Written(const ManifestDetails& details) {
    return DecodeManifestBytes(ComposeManifestDocument(details, ProcessorArchitecture::X86));
}

void CheckDetails(const ManifestDetails& read, const ManifestDetails& expected) {
    CHECK(read.company == expected.company);
    CHECK(read.product == expected.product);
    CHECK(read.applicationName == expected.applicationName);
    CHECK(read.description == expected.description);
}

}  // namespace

TEST_CASE("Details read back from manifests, including the cases older versions got wrong in the same way") {
    const struct {
        const char* what;
        std::wstring text;
        ManifestDetails expected;
    } cases[] = {
        {"this program's document", Written({L"Acme", L"Editor", L"edit.exe", L"Text editor"}),
         {L"Acme", L"Editor", L"edit.exe", L"Text editor"}},
        {"all details empty", Written({}), {}},
        {"blanks around details are trimmed", Written({L"  Acme ", L" Editor", L"edit.exe  ", L"  Text  editor  "}),
         {L"Acme", L"Editor", L"edit.exe", L"Text  editor"}},
        // What follows a "]" up to the next "]" is read as the next detail.
        {"a detail containing ]", Written({L"Ac]me", L"Editor", L"edit.exe", L"d"}), {L"Ac", L"me", L"Editor", L"d"}},
        {"a detail containing [", Written({L"A[c", L"[Editor", L"edit[1].exe", L"d"}),
         {L"A[c", L"[Editor", L"edit[1", L"d"}},
        {"letter case of name = ignored",
         L"<assembly>\r\n<assemblyIdentity\r\n    NAME = \"[a].[b].[c]\"\r\n/>\r\n"
         L"<DESCRIPTION>desc</DESCRIPTION>\r\n</assembly>\r\n",
         {L"a", L"b", L"c", L"desc"}},
        // Without "name = " the first line is cut from its seventh character on.
        {"no name = and no brackets in the first line",
         L"<?xml version=\"1.0\"?>\r\n<assembly><assemblyIdentity name=\"[x].[y].[z]\"/>"
         L"<description>Vendor app</description></assembly>\r\n",
         {L"", L"", L"", L"Vendor app"}},
        {"no name = and brackets in the first line",
         L"<!-- [Vendor].[Tool] -->\r\n<assembly><assemblyIdentity name=\"Vendor.Tool\"/></assembly>\r\n",
         {L"Vendor", L"Tool", L"", L""}},
        {"first name = without brackets",
         L"<assembly>\r\n<assemblyIdentity\r\n    name = \"Microsoft.Windows.Common-Controls\"\r\n/>\r\n</assembly>\r\n",
         {L"", L"", L"", L""}},
        {"no </description>",
         L"<assembly>\r\n    name = \"[a].[b].[c]\"\r\n<description>open ended\r\n</assembly>\r\n",
         {L"a", L"b", L"c", L""}},
        {"no description at all", L"<assembly>\r\n    name = \"[a].[b].[c]\"\r\n</assembly>\r\n",
         {L"a", L"b", L"c", L""}},
        // A line ends at a carriage return; a lone line feed stays inside the line.
        {"line feeds only", L"<assembly>\n    name = \"[a].[b].[c]\"\n<description>d</description>\n</assembly>\n",
         {L"a", L"b", L"c", L"d"}},
        {"carriage returns only", L"<assembly>\r    name = \"[a].[b]\r.[c]\"\r<description>d</description>\r",
         {L"a", L"b", L"", L"d"}},
        {"last line not ended", L"    name = \"[a].[b].[c]\"", {L"a", L"b", L"c", L""}},
        {"empty text", L"", {}},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        CheckDetails(ReadBackManifestDetails(c.text), c.expected);
    }
}

TEST_CASE("Escaped details come back as they were written") {
    const ManifestDetails details[] = {
        {L"Smith & Sons", L"<Editor>", L"say \"hi\".exe", L"it's a < b & c > d"},
        {L"&amp; literally", L"&lt;", L"&#65;.exe", L"</description> inside"},
        {L"Caf\u00e9", L"\u65e5\u672c\u8a9e", L"\U0001F600.exe", L"\u20ac 5"},
    };
    for (const ManifestDetails& written : details) {
        CAPTURE(written.company);
        CheckDetails(ReadBackManifestDetails(Written(written)), written);
    }
    // Characters XML cannot carry were written as blanks.
    CheckDetails(ReadBackManifestDetails(Written({L"a\r\nb", L"c\td", L"e", L"f\x01g"})),
                 {L"a  b", L"c d", L"e", L"f g"});
}

TEST_CASE("XML references in other makers' manifests are resolved; unknown ones stay") {
    CheckDetails(ReadBackManifestDetails(L"    name = \"[&#65;&#x42;&#X43;].[&#128512;].[&bogus; &#xD800; & x]\"\r\n"
                                         L"<description>&quot;&apos;&lt;&gt;&amp;</description>\r\n"),
                 {L"ABC", L"\U0001F600", L"&bogus; &#xD800; & x", L"\"'<>&"});
}

TEST_CASE("A manifest file is read back as UTF-8, or in the ANSI code page of older versions") {
    REQUIRE(GetACP() == 1252);
    TempFolder folder;
    const std::wstring exe = folder / L"app.exe";

    // UTF-8, as this program writes it.
    REQUIRE(WriteManifestForExecutable(exe, {L"Caf\u00e9 & Co", L"\u65e5\u672c", L"app.exe", L"\u20ac"}));
    CheckDetails(ReadManifestDetailsForExecutable(exe), {L"Caf\u00e9 & Co", L"\u65e5\u672c", L"app.exe", L"\u20ac"});

    // The ANSI form of older versions, details unescaped.
    SetFileAttributesW(ManifestPathFor(exe).c_str(), FILE_ATTRIBUTE_NORMAL);
    const std::string older =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<assemblyIdentity\r\n"
        "    name = \"[Caf\xE9 & Co].[Gr\xFC\xDF].[app.exe]\"\r\n/>\r\n<description>\x80 5</description>\r\n\r\n";
    REQUIRE(WriteBytes(ManifestPathFor(exe), older));
    CheckDetails(ReadManifestDetailsForExecutable(exe), {L"Caf\u00e9 & Co", L"Gr\u00fc\u00df", L"app.exe", L"\u20ac 5"});

    // A manifest that cannot be read leaves every detail empty.
    REQUIRE(DeleteFileW(ManifestPathFor(exe).c_str()));
    CheckDetails(ReadManifestDetailsForExecutable(exe), {});
    REQUIRE(CreateDirectoryW(ManifestPathFor(exe).c_str(), nullptr));
    CheckDetails(ReadManifestDetailsForExecutable(exe), {});
}
