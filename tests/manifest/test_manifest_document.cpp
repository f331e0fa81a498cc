#include <windows.h>

#include <string>

#include "manifest/ManifestDocument.h"
#include "support/doctest_wide.h"

namespace {

// The document as older versions wrote it, details inserted as given, plus the empty line.
std::string ExpectedFile(const std::string& company, const std::string& product, const std::string& application,
                         const std::string& description, const std::string& architecture = "X86") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
           "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
           "<assemblyIdentity\r\n"
           "    version = \"1.0.0.0\"\r\n"
           "    processorArchitecture = \"" + architecture + "\"\r\n"
           "    name = \"[" + company + "].[" + product + "].[" + application + "]\"\r\n"
           "    type=\"win32\"\r\n"
           "/>\r\n"
           "<description>" + description + "</description>\r\n"
           "<dependency>\r\n"
           "    <dependentAssembly>\r\n"
           "        <assemblyIdentity\r\n"
           "            type=\"win32\"\r\n"
           "            name = \"Microsoft.Windows.Common-Controls\"\r\n"
           "            version = \"6.0.0.0\"\r\n"
           "            processorArchitecture = \"" + architecture + "\"\r\n"
           "            publicKeyToken = \"6595b64144ccf1df\"\r\n"
           "            language = \"*\"\r\n"
           "        />\r\n"
           "    </dependentAssembly>\r\n"
           "</dependency>\r\n"
           "</assembly>\r\n"
           "\r\n";
}

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

}  // namespace

TEST_CASE("Plain ASCII details give the document byte for byte, followed by one empty line") {
    const ManifestDetails details{L"Acme", L"Editor", L"edit.exe", L"Text editor"};
    CHECK(ComposeManifestDocument(details, ProcessorArchitecture::X86) ==
          ExpectedFile("Acme", "Editor", "edit.exe", "Text editor"));

    // Blanks inside and around details are kept as they are.
    const ManifestDetails spaced{L" Acme Inc ", L"My  Editor", L"edit.exe ", L" a  b "};
    CHECK(ComposeManifestDocument(spaced, ProcessorArchitecture::X86) ==
          ExpectedFile(" Acme Inc ", "My  Editor", "edit.exe ", " a  b "));
}

TEST_CASE("All details empty: name [].[].[], empty description, 654 bytes") {
    const std::string file = ComposeManifestDocument({}, ProcessorArchitecture::X86);
    CHECK(file == ExpectedFile("", "", "", ""));
    CHECK(file.find("\r\n    name = \"[].[].[]\"\r\n") != std::string::npos);
    CHECK(file.find("\r\n<description></description>\r\n") != std::string::npos);
    CHECK(file.size() == 654);
}

TEST_CASE("Both processorArchitecture attributes name the executable's architecture") {
    const struct {
        ProcessorArchitecture architecture;
        std::string text;
    } cases[] = {
        {ProcessorArchitecture::X86, "X86"},     {ProcessorArchitecture::Amd64, "amd64"},
        {ProcessorArchitecture::Arm64, "arm64"}, {ProcessorArchitecture::Ia64, "ia64"},
        {ProcessorArchitecture::AnyProcessor, "*"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.text);
        CHECK(ProcessorArchitectureText(c.architecture) == Widen(c.text));
        CHECK(ComposeManifestDocument({L"C", L"P", L"A", L"D"}, c.architecture) ==
              ExpectedFile("C", "P", "A", "D", c.text));
    }
}

TEST_CASE("Reserved characters are escaped, characters XML cannot carry become blanks") {
    const ManifestDetails details{L"Smith & Sons", L"<Editor>", L"say \"hi\".exe", L"it's a < b & c > d"};
    CHECK(ComposeManifestDocument(details, ProcessorArchitecture::X86) ==
          ExpectedFile("Smith &amp; Sons", "&lt;Editor&gt;", "say &quot;hi&quot;.exe",
                       "it&apos;s a &lt; b &amp; c &gt; d"));

    const struct {
        std::wstring detail;
        std::string written;
    } cases[] = {
        {L"two\r\nlines", "two  lines"},  // would split line 6 or 9
        {L"tab\there", "tab here"},
        {std::wstring(L"nul\0x", 5), "nul x"},
        {std::wstring(L"c\x01" L"d\x1F" L"e"), "c d e"},
        {L"\xFFFE\xFFFF", "  "},
        {L"lone\xD800high", "lone high"},
        {L"lone\xDC00low", "lone low"},
        {L"end\xD83D", "end "},
        {L"\x7F", "\x7F"},  // allowed in XML
    };
    for (const auto& c : cases) {
        CAPTURE(c.written);
        const std::string file = ComposeManifestDocument({c.detail, L"", L"", c.detail}, ProcessorArchitecture::X86);
        CHECK(file == ExpectedFile(c.written, "", "", c.written));
    }
}

TEST_CASE("Details beyond ASCII are written as UTF-8, as line 1 declares") {
    const ManifestDetails details{L"Caf\u00e9", L"\u65e5\u672c", L"\U0001F600.exe", L"\u20ac 5"};
    CHECK(ComposeManifestDocument(details, ProcessorArchitecture::Amd64) ==
          ExpectedFile("Caf\xC3\xA9", "\xE6\x97\xA5\xE6\x9C\xAC", "\xF0\x9F\x98\x80.exe", "\xE2\x82\xAC 5", "amd64"));
}

TEST_CASE("Manifest bytes are decoded as UTF-8, else in the ANSI code page of older versions") {
    REQUIRE(GetACP() == 1252);  // the test environment pins the locale
    const struct {
        std::string bytes;
        std::wstring text;
    } cases[] = {
        {"", L""},
        {"plain ASCII\r\n", L"plain ASCII\r\n"},
        {"Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", L"Caf\u00e9 \u20ac \U0001F600"},
        {"\xEF\xBB\xBFwith mark", L"with mark"},  // a byte order mark is no part of the text
        // Not UTF-8: older versions wrote the ANSI code page.
        {"Caf\xE9", L"Caf\u00e9"},
        {"\x80 5", L"\u20ac 5"},
        {"cut \xC3", L"cut \u00c3"},
        {"overlong \xC0\xAF", L"overlong \u00c0\u00af"},
        {"surrogate \xED\xA0\x80", L"surrogate \u00ed\u00a0\u20ac"},
        {"too large \xF4\x90\x80\x80", L"too large \u00f4\u0090\u20ac\u20ac"},
        {"stray \xA9", L"stray \u00a9"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.text);
        CHECK(DecodeManifestBytes(c.bytes) == c.text);
    }
}

TEST_CASE("The shape of this program's document is recognised whatever the details") {
    const auto decoded = [](const ManifestDetails& details, ProcessorArchitecture architecture) {
        return DecodeManifestBytes(ComposeManifestDocument(details, architecture));
    };
    const std::wstring plain = decoded({L"Acme", L"Editor", L"edit.exe", L"Text editor"}, ProcessorArchitecture::X86);
    const std::wstring withoutEmptyLine = plain.substr(0, plain.size() - 2);
    // Older versions wrote details unescaped and in the ANSI code page.
    const std::wstring older = DecodeManifestBytes(ExpectedFile("A & \"B\"", "x].[y", "<z>", "caf\xE9 </", "X86"));

    const struct {
        const char* what;
        std::wstring text;
        bool own;
    } cases[] = {
        {"plain", plain, true},
        {"all details empty", decoded({}, ProcessorArchitecture::X86), true},
        {"every architecture value", decoded({L"a", L"b", L"c", L"d"}, ProcessorArchitecture::AnyProcessor), true},
        {"escaped and non-ASCII details",
         decoded({L"\u00e9 & <", L"\"q\"", L"'a'", L"\U0001F600"}, ProcessorArchitecture::Amd64), true},
        {"older version's unescaped ANSI details", older, true},
        {"without the empty line", withoutEmptyLine, true},
        {"two empty lines", plain + L"\r\n", false},
        {"text after it", plain + L"<!-- x -->", false},
        {"last line not ended", withoutEmptyLine.substr(0, withoutEmptyLine.size() - 2), false},
        {"empty", L"", false},
        {"a fixed part changed", [&] {
             std::wstring t = plain;
             t.replace(t.find(L"6.0.0.0"), 7, L"6.0.0.1");
             return t;
         }(), false},
        {"a blank added at a line end", [&] {
             std::wstring t = plain;
             t.insert(t.find(L"<dependency>") + 12, L" ");
             return t;
         }(), false},
        {"indentation changed", [&] {
             std::wstring t = plain;
             t.replace(t.find(L"    type=\"win32\""), 4, L"\t");
             return t;
         }(), false},
        {"a line missing", [&] {
             std::wstring t = plain;
             t.erase(t.find(L"<dependency>\r\n"), 14);
             return t;
         }(), false},
        {"name brackets missing", [&] {
             std::wstring t = plain;
             t.replace(t.find(L"[Acme].[Editor].[edit.exe]"), 26, L"Acme.Editor.edit.exe");
             return t;
         }(), false},
        {"line feeds only", [&] {
             std::wstring t;
             for (const wchar_t c : plain) if (c != L'\r') t += c;
             return t;
         }(), false},
        {"another maker's manifest",
         L"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         L"<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
         L"<assemblyIdentity version=\"1.0.0.0\" processorArchitecture=\"X86\" name=\"Vendor.App\" type=\"win32\"/>\r\n"
         L"</assembly>\r\n", false},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        CHECK(IsOwnManifestDocument(c.text) == c.own);
    }
}
