#include <windows.h>

#include "history/ManifestPresence.h"
#include "manifest/ManifestFile.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using xpv_test::TempFolder;
using xpv_test::WriteBytes;

TEST_CASE("Many manifests tested at once give exactly the one-by-one presence test") {
    TempFolder folder;
    const std::wstring crowded = folder / L"crowded";
    const std::wstring lonely = folder / L"lonely";
    CreateDirectoryW(crowded.c_str(), nullptr);
    CreateDirectoryW(lonely.c_str(), nullptr);
    const struct {
        const wchar_t* name;
        DWORD attributes;
    } files[] = {
        {L"a.exe.manifest", FILE_ATTRIBUTE_NORMAL},
        {L"hidden.exe.manifest", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
        {L"readonly.exe.manifest", FILE_ATTRIBUTE_READONLY},
        {L"Mixed.EXE.Manifest", FILE_ATTRIBUTE_ARCHIVE},
        {L"\u00C9t\u00E9.exe.manifest", FILE_ATTRIBUTE_NORMAL},
    };
    for (const auto& file : files) {
        const std::wstring path = crowded + L"\\" + file.name;
        REQUIRE(WriteBytes(path, "x"));
        SetFileAttributesW(path.c_str(), file.attributes);
    }
    CreateDirectoryW((crowded + L"\\folder.exe.manifest").c_str(), nullptr);
    REQUIRE(WriteBytes(lonely + L"\\one.exe.manifest", "x"));

    const std::vector<std::wstring> paths = {
        crowded + L"\\a.exe.manifest",
        crowded + L"\\hidden.exe.manifest",
        crowded + L"\\readonly.exe.manifest",
        crowded + L"\\mixed.exe.manifest",          // other letter case
        crowded + L"\\\u00E9T\u00C9.EXE.MANIFEST",    // other letter case beyond a to z
        crowded + L"\\folder.exe.manifest",         // a folder is no manifest
        crowded + L"\\gone.exe.manifest",
        crowded + L"\\gone-too.exe.manifest",
        lonely + L"\\one.exe.manifest",
        lonely + L"\\none.exe.manifest",
        folder / L"missing-folder\\x.exe.manifest",
        folder / L"missing-folder\\y.exe.manifest",
        folder / L"missing-folder\\z.exe.manifest",
        folder / L"missing-folder\\w.exe.manifest",
    };
    const std::vector<bool> expected = {true,  true,  true, true,  true,  false, false,
                                        false, true, false, false, false, false, false};
    const std::vector<bool> present = PresentManifests(paths);
    REQUIRE(present.size() == paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        CAPTURE(paths[i]);
        CHECK(present[i] == expected[i]);
        CHECK(present[i] == IsManifestPresent(paths[i]));
    }
    CHECK(PresentManifests({}).empty());
}
