#include <string>

#include "theming/OwnManifestTooltip.h"
#include "support/OwnManifestFixtures.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

TEST_CASE("A row's tooltip tells what the program's own manifest means for the file beside it") {
    const struct {
        std::wstring program;
        std::wstring tooltip;
    } cases[] = {
        {xpv_test::OwnManifestFixture(L"own_cc6"), L"Its own manifest already gives it the Windows XP look"},
        {xpv_test::OwnManifestFixture(L"own_trust"),
         L"Carries its own manifest; Windows Vista and later ignore the file beside it unless external manifests are "
         L"preferred"},
        {xpv_test::OwnManifestFixture(L"own_data-past-end"), L""},
    };
    for (const auto& c : cases) {
        CAPTURE(c.program);
        CHECK(OwnManifestTooltip(c.program) == c.tooltip);
    }
    xpv_test::TempFolder folder;
    CHECK(OwnManifestTooltip(xpv_test::CopyOfSelf(folder, L"plain.exe")).empty());
}
