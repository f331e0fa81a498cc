// The loader's verdict on every manifest written: a document it refuses never takes the place of
// what was there.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "manifest/ExecutableArchitecture.h"
#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFile.h"
#include "manifest/ManifestForExecutable.h"
#include "manifest/ManifestLoaderCheck.h"
#include "platform/ActivationContext.h"
#include "support/RefusedDocument.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using xpv_test::NamesIn;
using xpv_test::ReadBytes;
using xpv_test::TempFolder;
using xpv_test::WriteBytes;

namespace {

// The store of the test prefix always serves the architecture of the test itself.
constexpr ProcessorArchitecture kOwnArchitecture =
    sizeof(void*) == 8 ? ProcessorArchitecture::Amd64 : ProcessorArchitecture::X86;

const std::string kSound = ComposeManifestDocument({L"Acme", L"Editor", L"edit.exe", L"Edits"}, kOwnArchitecture);

}  // namespace

TEST_CASE("The loader accepts the document this program writes and refuses broken ones, whatever the file's name") {
    const struct {
        const char* what;
        std::string bytes;
        bool accepted;
    } cases[] = {
        {"the document", kSound, true},
        {"the document with empty details", ComposeManifestDocument({}, kOwnArchitecture), true},
        {"cut in half", kSound.substr(0, kSound.size() / 2), false},
        {"a closing tag that does not match", "<?xml version=\"1.0\"?><assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" "
                                              "manifestVersion=\"1.0\"><dependency></dependencx></assembly>", false},
        {"no XML", "MZ\x90\x00", false},
        {"empty", "", false},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        CAPTURE(c.what);
        // Named as the writer's temporary files are, not as a manifest.
        const std::wstring file = folder / L"xpvTEST.tmp";
        REQUIRE(WriteBytes(file, c.bytes));
        const DWORD refusal = LoaderRefusal(file, kOwnArchitecture);
        CHECK((refusal == ERROR_SUCCESS) == c.accepted);
        CHECK(refusal == ActivationContextError(file));
    }
    CHECK(NamesIn(folder.Path()) == std::vector<std::wstring>{L"xpvTEST.tmp"});
}

TEST_CASE("A document for an architecture this machine's store does not serve counts as accepted") {
    // No store here holds Common Controls 6 for Itanium: the loader refuses even the plain
    // document, so its refusal says nothing about the file.
    TempFolder folder;
    const std::wstring file = folder / L"itanium.exe.manifest";
    REQUIRE(WriteBytes(file, ComposeManifestDocument({L"A", L"B", L"c.exe", L"D"}, ProcessorArchitecture::Ia64)));
    CHECK(ActivationContextError(file) != ERROR_SUCCESS);
    CHECK(LoaderRefusal(file, ProcessorArchitecture::Ia64) == ERROR_SUCCESS);
    // The plain document it was measured against is gone again.
    CHECK(NamesIn(folder.Path()) == std::vector<std::wstring>{L"itanium.exe.manifest"});
}

TEST_CASE("A document the loader refuses leaves the previous state: no manifest, or the previous one as it was") {
    const struct {
        const char* what;
        bool exists;
        std::string previous;
        DWORD attributes;
        ManifestFailure failure;
    } cases[] = {
        {"no manifest before", false, "", 0, ManifestFailure::Rejected},
        {"this program's manifest before, hidden and system", true, kSound,
         FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, ManifestFailure::Rejected},
        // Never overwritten, so the loader is not even asked.
        {"another maker's manifest before, read-only", true, "<assembly/>", FILE_ATTRIBUTE_READONLY,
         ManifestFailure::NotOurs},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        TempFolder folder;
        const std::wstring executable = folder.AddFile(L"app.exe");
        const std::wstring manifest = ManifestPathFor(executable);
        if (c.exists) {
            REQUIRE(WriteBytes(manifest, c.previous));
            REQUIRE(SetFileAttributesW(manifest.c_str(), c.attributes));
        }
        const std::vector<std::wstring> namesBefore = NamesIn(folder.Path());
        const DWORD attributesBefore = GetFileAttributesW(manifest.c_str());

        const ManifestWrite write = WriteManifestFile(manifest, xpv_test::HalfADocument({}, kOwnArchitecture),
                                                      [](const std::wstring& written) {
                                                          return LoaderRefusal(written, kOwnArchitecture);
                                                      });
        CHECK(write.failure == c.failure);
        CHECK((write.platformError != ERROR_SUCCESS) == (c.failure == ManifestFailure::Rejected));
        CHECK(NamesIn(folder.Path()) == namesBefore);
        CHECK(GetFileAttributesW(manifest.c_str()) == attributesBefore);
        if (c.exists) CHECK(ReadBytes(manifest) == c.previous);
        SetFileAttributesW(manifest.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_CASE("Every manifest written for a program goes past the loader first") {
    TempFolder folder;
    const std::wstring executable = xpv_test::CopyOfSelf(folder, L"self.exe");

    const ManifestWrite refused = WriteManifestForExecutable(executable, {}, xpv_test::HalfADocument);
    CHECK(refused.failure == ManifestFailure::Rejected);
    CHECK_FALSE(IsManifestPresent(ManifestPathFor(executable)));

    CHECK(WriteManifestForExecutable(executable, {L"Acme", L"Editor", L"self.exe", L"Edits"}));
    CHECK(ReadBytes(ManifestPathFor(executable)) ==
          ComposeManifestDocument({L"Acme", L"Editor", L"self.exe", L"Edits"}, kOwnArchitecture));
}
