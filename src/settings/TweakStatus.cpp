#include "settings/TweakStatus.h"

#include <algorithm>

namespace {

bool IsWritten(const TweakValueStatus& value) { return value.result == TweakValueResult::Written; }

}  // namespace

bool TweakStatus::Written() const { return typeKnown && std::ranges::all_of(values, IsWritten); }

bool TweakStatus::WrittenInPart() const { return !Written() && std::ranges::any_of(values, IsWritten); }
