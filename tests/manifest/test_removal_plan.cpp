// A dry run tells what the removal rule would do: the plan must be what the removal then does.
#include <windows.h>

#include <functional>
#include <string>

#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFile.h"
#include "manifest/RemovalPlan.h"
#include "platform/UniqueHandle.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using xpv_test::TempFolder;

TEST_CASE("The removal plan names what RemoveManifest then does, and touches nothing") {
    const std::string own = ComposeManifestDocument({L"Co", L"Product", L"app.exe", L"Text"}, ProcessorArchitecture::X86);
    struct Case {
        const char* what;
        std::wstring name;
        std::function<void(const std::wstring& path)> make;
        RemovalOutcome outcome;
        ManifestFailure failure;
    };
    const Case cases[] = {
        {"its own document, hidden and system", L"app.exe.manifest",
         [&own](const std::wstring& path) {
             REQUIRE(xpv_test::WriteBytes(path, own));
             REQUIRE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
         },
         RemovalOutcome::Removed, ManifestFailure::None},
        {"nothing there", L"gone.exe.manifest", [](const std::wstring&) {}, RemovalOutcome::NotRemoved,
         ManifestFailure::Missing},
        {"a name that is no manifest's", L"app.exe.txt",
         [&own](const std::wstring& path) { REQUIRE(xpv_test::WriteBytes(path, own)); }, RemovalOutcome::NotRemoved,
         ManifestFailure::NotAManifest},
        {"a folder of a manifest's name", L"dir.exe.manifest",
         [](const std::wstring& path) { REQUIRE(CreateDirectoryW(path.c_str(), nullptr)); },
         RemovalOutcome::NotRemoved, ManifestFailure::InTheWay},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        const TempFolder folder;
        const std::wstring path = folder / c.name;
        c.make(path);
        const DWORD attributes = GetFileAttributesW(path.c_str());
        const RemovalPlan plan = PlanManifestRemoval(path);
        CHECK(plan.outcome == c.outcome);
        CHECK(plan.failure == c.failure);
        CHECK(GetFileAttributesW(path.c_str()) == attributes);

        const ManifestRemoval removal = RemoveManifest(path);
        CHECK(removal.outcome == plan.outcome);
        CHECK(removal.failure == plan.failure);
    }
}

TEST_CASE("The removal plan of a manifest that cannot be read, and of another maker's one") {
    SUBCASE("a manifest held open without sharing cannot be read: in use") {
        const TempFolder folder;
        const std::wstring path = folder / L"held.exe.manifest";
        REQUIRE(xpv_test::WriteBytes(path, ComposeManifestDocument({L"Co", L"Product", L"app.exe", L"Text"},
                                                                   ProcessorArchitecture::X86)));
        const UniqueHandle held(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        REQUIRE(held);
        const RemovalPlan plan = PlanManifestRemoval(path);
        CHECK(plan.failure == ManifestFailure::InUse);
        CHECK(RemoveManifest(path).failure == plan.failure);
    }
    SUBCASE("another maker's manifest where a Recycle Bin keeps it") {
        const TempFolder folder;
        const std::wstring path = folder / L"vendor.exe.manifest";
        REQUIRE(xpv_test::WriteBytes(path, "<assembly/>"));
        CHECK(PlanManifestRemoval(path).outcome == RemovalOutcome::SentToRecycleBin);
        CHECK(xpv_test::ReadBytes(path) == "<assembly/>");
    }
}
