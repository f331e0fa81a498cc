#include "settings/TweakTicks.h"

#include "platform/RegistryMod.h"
#include "platform/TextFunctions.h"
#include "settings/TweakNumber.h"

namespace {

std::wstring ReadText(const RegistryLocation& location) {
    return RegistryValueText(QueryRegistryValue(RootKeyFromName(location.rootName), location.path,
                                                location.valueName, location.fallback));
}

bool ReadsAsOn(const TweakValue& value, const std::wstring& current) {
    return SameTextIgnoringCase(current, value.onText);
}

enum class Writing { Done, CheckedOnly };

// The one place a TweakType is acted on.
TweakValueStatus WriteText(const TweakValue& value, TweakType type, bool on, Writing writing) {
    TweakValueStatus status{.location = value.location, .text = on ? value.onText : value.offText};
    const RegistryLocation& location = value.location;
    const RegistryRoot root = RootKeyFromName(location.rootName);
    if (root == 0) {
        status.result = TweakValueResult::UnknownRoot;
        return status;
    }
    LONG error = ERROR_SUCCESS;
    switch (type) {
        case TweakType::String:
            if (writing == Writing::Done) {
                error = SetRegistryString(root, location.path, location.valueName, status.text);
            }
            break;
        case TweakType::Int: {
            const std::optional<std::int32_t> number = TweakNumberFromText(status.text);
            if (!number) {
                status.result = TweakValueResult::NumberOutOfRange;
                return status;
            }
            if (writing == Writing::Done) {
                error = SetRegistryNumber(root, location.path, location.valueName, *number);
            }
            break;
        }
    }
    if (error != ERROR_SUCCESS) {
        status.result = TweakValueResult::Refused;
        status.platformError = static_cast<DWORD>(error);
    }
    return status;
}

TweakStatus WriteTweak(const Tweak& tweak, bool ticked, Writing writing) {
    TweakStatus status{.on = ticked, .typeKnown = tweak.writtenAs.has_value()};
    if (!tweak.writtenAs) return status;
    status.values.push_back(WriteText(tweak.first, *tweak.writtenAs, ticked, writing));
    if (tweak.second) status.values.push_back(WriteText(*tweak.second, *tweak.writtenAs, ticked, writing));
    return status;
}

}  // namespace

bool RefreshedTick(const Tweak& tweak, bool tick) {
    const std::wstring current = ReadText(tweak.first.location);
    const bool firstOn = ReadsAsOn(tweak.first, current);
    if (tweak.second) {
        return firstOn && ReadsAsOn(*tweak.second, ReadText(tweak.second->location));
    }
    // On wins when the on and off texts are the same; neither keeps the user's tick.
    if (firstOn) {
        return true;
    }
    return SameTextIgnoringCase(current, tweak.first.offText) ? false : tick;
}

TweakStatus ApplyTweak(const Tweak& tweak, bool ticked) { return WriteTweak(tweak, ticked, Writing::Done); }

TweakStatus CheckTweak(const Tweak& tweak, bool ticked) { return WriteTweak(tweak, ticked, Writing::CheckedOnly); }

std::vector<TweakTick> RefreshTweakTicks(const std::wstring& catalogue, const std::wstring& group,
                                         std::vector<TweakTick> tweaks) {
    const CatalogueGroup read = CatalogueGroup::Read(catalogue, group);
    for (TweakTick& tweak : tweaks) {
        tweak.ticked = RefreshedTick(read.TweakNamed(tweak.name), tweak.ticked);
    }
    return tweaks;
}

std::vector<AppliedTweak> ApplyTweakTicks(const std::wstring& catalogue, const std::wstring& group,
                                          const std::vector<TweakTick>& tweaks) {
    const CatalogueGroup read = CatalogueGroup::Read(catalogue, group);
    std::vector<AppliedTweak> applied;
    applied.reserve(tweaks.size());
    for (const TweakTick& tweak : tweaks) {
        applied.push_back({tweak.name, ApplyTweak(read.TweakNamed(tweak.name), tweak.ticked)});
    }
    return applied;
}
