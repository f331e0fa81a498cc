// The proof the program exists for: a manifest written beside an executable makes the loader
// give it Common Controls 6 from the side-by-side store, and removing it gives the system's
// copy back.
#include <windows.h>

#include <string>

#include "manifest/ExecutableArchitecture.h"
#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFile.h"
#include "manifest/ManifestForExecutable.h"
#include "support/ComctlProbe.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using xpv_test::TempFolder;

using xpv_test::HostRuns32BitPrograms;
using xpv_test::IsSystemCommonControls;
using xpv_test::LoadedCommonControls;
using xpv_test::StoreHasX86CommonControls;

TEST_CASE("A manifest written beside a program gives it Common Controls 6; removing it undoes that") {
    const struct {
        const wchar_t* probe;
        const wchar_t* storePrefix;  // of the side-by-side folder the loader picks
        bool is32Bit;
    } probes[] = {
        {XPV_PROBE_X86, L"\\winsxs\\x86_microsoft.windows.common-controls_", true},
        {XPV_PROBE_X64, L"\\winsxs\\amd64_microsoft.windows.common-controls_", false},
    };
    for (const auto& p : probes) {
        if (*p.probe == L'\0') {
            MESSAGE("no cross compiler for this architecture: case skipped");
            continue;
        }
        if (p.is32Bit && !HostRuns32BitPrograms()) {
            MESSAGE("this host runs no 32-bit code: the case of the 32-bit probe is skipped");
            continue;
        }
        CAPTURE(std::wstring(p.probe));
        TempFolder folder;
        const std::wstring exe = folder / L"probe.exe";
        const std::wstring report = folder / L"loaded.txt";
        REQUIRE(CopyFileW(p.probe, exe.c_str(), FALSE));

        const std::wstring before = LoadedCommonControls(exe, report);
        CHECK(IsSystemCommonControls(before));

        // Details with reserved and non-ASCII characters still give a manifest the loader accepts.
        REQUIRE(WriteManifestForExecutable(exe, {L"Smith & Sons <Ltd>", L"\"Probe\" 'Tool'",
                                                 L"probe.exe", L"Caf\u00e9 \u20ac \U0001F600"}));
        const std::wstring themed = LoadedCommonControls(exe, report);
        CHECK(themed.find(p.storePrefix) != std::wstring::npos);
        CHECK(themed.find(L"\\comctl32.dll") == themed.size() - 13);

        CHECK(RemoveManifest(ManifestPathFor(exe)) == RemovalOutcome::Removed);
        CHECK_FALSE(IsManifestPresent(ManifestPathFor(exe)));
        CHECK(LoadedCommonControls(exe, report) == before);
    }
}

TEST_CASE("A 64-bit program with the plain X86 document does not get Common Controls 6") {
    // Why the architecture has to follow the executable.
    if (*XPV_PROBE_X64 == L'\0') {
        MESSAGE("no x64 probe: case skipped");
        return;
    }
    TempFolder folder;
    const std::wstring exe = folder / L"probe.exe";
    REQUIRE(CopyFileW(XPV_PROBE_X64, exe.c_str(), FALSE));
    REQUIRE(WriteManifestFile(ManifestPathFor(exe), ComposeManifestDocument({}, ProcessorArchitecture::X86)));
    const std::wstring loaded = LoadedCommonControls(exe, folder / L"loaded.txt");
    CHECK(loaded.find(L"\\winsxs\\") == std::wstring::npos);
    if (StoreHasX86CommonControls()) {
        // The loader finds the named assembly only for the wrong architecture: no comctl32 at all.
        CHECK(loaded.find(L"loadlibrary failed") == 0);
    } else {
        // Nothing in the store matches the document, so the program keeps the system's copy.
        CHECK(IsSystemCommonControls(loaded));
    }
}
