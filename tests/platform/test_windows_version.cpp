#include "platform/WindowsVersion.h"
#include "support/doctest_wide.h"

TEST_CASE("The Windows version is the machine's own until an override sets another, which ends with its scope") {
    const WindowsVersion own = CurrentWindowsVersion();
    // Wine answers the version its prefix is set to; every version it offers is 5.0 or later.
    CHECK(own.major >= 5);
    CHECK(own.build > 0);
    {
        const WindowsVersionOverride xp({5, 1, 2600});
        CHECK(CurrentWindowsVersion() == WindowsVersion{5, 1, 2600});
        CHECK_FALSE(CurrentWindowsVersion().IsVistaOrLater());
        {
            const WindowsVersionOverride vista({6, 0, 6000});
            CHECK(CurrentWindowsVersion().IsVistaOrLater());
        }
        CHECK(CurrentWindowsVersion() == WindowsVersion{5, 1, 2600});
    }
    CHECK(CurrentWindowsVersion() == own);
}

TEST_CASE("Vista and everything after it count as Vista or later; XP and Server 2003 do not") {
    const struct {
        WindowsVersion version;
        bool vistaOrLater;
    } cases[] = {
        {{5, 1, 2600}, false}, {{5, 2, 3790}, false}, {{6, 0, 6000}, true},
        {{6, 1, 7601}, true},  {{6, 3, 9600}, true},  {{10, 0, 22631}, true},
    };
    for (const auto& c : cases) {
        CAPTURE(c.version.major);
        CAPTURE(c.version.minor);
        CHECK(c.version.IsVistaOrLater() == c.vistaOrLater);
    }
}
