#pragma once
#include "platform/WindowsVersion.h"

namespace xpv_test {

// The versions the tests make the program believe it runs on.
inline constexpr WindowsVersion kWindowsXp{5, 1, 2600};
inline constexpr WindowsVersion kWindowsVista{6, 0, 6000};
inline constexpr WindowsVersion kWindows10{10, 0, 19045};

}  // namespace xpv_test
