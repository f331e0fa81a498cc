#pragma once
// What applying tweaks came to, in the words the Settings panel and the console program both use.
#include <string>
#include <vector>

#include "settings/TweakStatus.h"

// One line for a tweak that was not set, or set only in part: which, why, and what to do. Empty
// for a tweak that was written.
std::wstring TweakNotSetText(const AppliedTweak& tweak);

// The message after a group was applied: the tweaks not set (the first ten, then how many more),
// how many others were, and how to see what the registry holds. Empty when every tweak was set.
std::wstring TweaksNotSetReport(const std::vector<AppliedTweak>& applied);
