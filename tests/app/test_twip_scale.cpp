#include "app/TwipScale.h"
#include "support/doctest_wide.h"

TEST_CASE("Twips become pixels through the DPI, and the strip stays within the raised button's reach") {
    struct Case {
        int dpi;
        int twipsPerPixel;
        int clientWidth;
        int clientHeight;
        int stripWidth;
        int reach;
        int fontHeight;  // bold Arial 8.25 pt
    };
    const Case cases[] = {
        {96, 15, 397, 311, 57, 60, -11},
        {120, 12, 496, 389, 71, 75, -14},
        {144, 10, 596, 467, 86, 90, -17},
        {192, 8, 794, 622, 114, 120, -22},
    };
    for (const Case& c : cases) {
        CAPTURE(c.dpi);
        const TwipScale scale(c.dpi);
        CHECK(scale.TwipsPerPixel() == c.twipsPerPixel);
        CHECK(scale.ToPixels(5955) == c.clientWidth);
        CHECK(scale.ToPixels(4665) == c.clientHeight);
        CHECK(scale.ToPixels(855) == c.stripWidth);
        CHECK(scale.ScaleDesignPixels(60) == c.reach);
        CHECK(scale.FontHeight(8.25) == c.fontHeight);
        CHECK(scale.ToPixels(855) < scale.ScaleDesignPixels(60));
    }
}
