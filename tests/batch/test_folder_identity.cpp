#include <windows.h>

#include <algorithm>
#include <string>

#include "batch/FolderIdentity.h"
#include "support/FixturePath.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

namespace {

const std::wstring kLinkTree = xpv_test::FixturePath(XPV_BATCH_LINK_TREE);

}  // namespace

TEST_CASE("A folder reached through a symbolic link is the same folder; siblings are not") {
    // walked\A\back leads back to walked, walked\A\outside to the folder outside.
    const auto walked = FolderIdentity::Of(kLinkTree + L"\\walked");
    const auto back = FolderIdentity::Of(kLinkTree + L"\\walked\\A\\back");
    const auto outside = FolderIdentity::Of(kLinkTree + L"\\outside");
    const auto throughLink = FolderIdentity::Of(kLinkTree + L"\\walked\\A\\outside");
    const auto a = FolderIdentity::Of(kLinkTree + L"\\walked\\A");
    const auto b = FolderIdentity::Of(kLinkTree + L"\\walked\\B");
    REQUIRE((walked && back && outside && throughLink && a && b));

    CHECK(back->SameAs(*walked));
    CHECK(walked->SameAs(*back));
    CHECK(throughLink->SameAs(*outside));
    CHECK_FALSE(a->SameAs(*b));
    CHECK_FALSE(a->SameAs(*walked));
    CHECK_FALSE(outside->SameAs(*walked));
}

TEST_CASE("A folder that is not there has no identity") {
    xpv_test::TempFolder folder;
    CHECK_FALSE(FolderIdentity::Of(folder / L"missing").has_value());
    CHECK(FolderIdentity::Of(folder.Path()).has_value());
}
