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

void WriteText(const RegistryLocation& location, TweakType type, const std::wstring& text) {
    const RegistryRoot root = RootKeyFromName(location.rootName);
    switch (type) {
        case TweakType::String:
            SetRegistryString(root, location.path, location.valueName, text);
            return;
        case TweakType::Int:
            if (const std::optional<std::int32_t> number = TweakNumberFromText(text)) {
                SetRegistryNumber(root, location.path, location.valueName, *number);
            }
            return;
    }
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

void ApplyTweak(const Tweak& tweak, bool ticked) {
    if (!tweak.writtenAs) return;
    WriteText(tweak.first.location, *tweak.writtenAs, ticked ? tweak.first.onText : tweak.first.offText);
    if (tweak.second) {
        WriteText(tweak.second->location, *tweak.writtenAs, ticked ? tweak.second->onText : tweak.second->offText);
    }
}

std::vector<TweakTick> RefreshTweakTicks(const std::wstring& catalogue, const std::wstring& group,
                                         std::vector<TweakTick> tweaks) {
    const CatalogueGroup read = CatalogueGroup::Read(catalogue, group);
    for (TweakTick& tweak : tweaks) {
        tweak.ticked = RefreshedTick(read.TweakNamed(tweak.name), tweak.ticked);
    }
    return tweaks;
}

void ApplyTweakTicks(const std::wstring& catalogue, const std::wstring& group,
                     const std::vector<TweakTick>& tweaks) {
    const CatalogueGroup read = CatalogueGroup::Read(catalogue, group);
    for (const TweakTick& tweak : tweaks) {
        ApplyTweak(read.TweakNamed(tweak.name), tweak.ticked);
    }
}
