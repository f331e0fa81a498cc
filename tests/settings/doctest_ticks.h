#pragma once
// Readable failure messages for lists of tweak ticks.
#include <vector>

#include "settings/TweakTicks.h"
#include "support/doctest_wide.h"

namespace doctest {
template <>
struct StringMaker<std::vector<TweakTick>> {
    static String convert(const std::vector<TweakTick>& ticks) {
        std::string text = "{";
        for (const TweakTick& tick : ticks) {
            text += "\n  [" + xpv_test::ToUtf8(tick.name) + (tick.ticked ? "] ticked" : "] cleared");
        }
        return (text + " }").c_str();
    }
};
}  // namespace doctest
