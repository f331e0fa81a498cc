#include "settings/SettingsCatalogue.h"

#include "platform/IniEditor.h"
#include "platform/ProfileSectionScanner.h"
#include "platform/TextFunctions.h"

namespace {

constexpr std::wstring_view kHiddenKeyPrefix = L"xxxxx";

std::wstring HiddenKey(const std::wstring& name, std::wstring_view suffix) {
    return std::wstring(kHiddenKeyPrefix) + name + std::wstring(suffix);
}

TweakValue ReadTweakValue(const ProfileTarget& group, const std::wstring& locationKey,
                          const std::wstring& onKey, const std::wstring& offKey) {
    return {SplitRegistryLocation(ReadProfileValue(group, locationKey, L"")),
            ReadProfileValue(group, onKey, L""), ReadProfileValue(group, offKey, L"")};
}

}  // namespace

std::optional<std::vector<std::wstring>> ListSettingsGroups(const std::wstring& catalogue) {
    return ListProfileSections(catalogue);
}

std::vector<std::wstring> ListGroupTweaks(const std::wstring& catalogue,
                                          const std::wstring& group) {
    std::vector<std::wstring> names;
    for (ProfileEntry& entry : ReadSectionEntries({catalogue, group})) {
        if (!entry.key.starts_with(kHiddenKeyPrefix)) {
            names.push_back(std::move(entry.key));
        }
    }
    return names;
}

Tweak ReadTweak(const std::wstring& catalogue, const std::wstring& group,
                const std::wstring& name) {
    const ProfileTarget target{catalogue, group};
    Tweak tweak;
    tweak.type = ReadProfileValue(target, HiddenKey(name, L" Type1"), L"");
    tweak.first = ReadTweakValue(target, name, HiddenKey(name, L" True1"),
                                 HiddenKey(name, L" False1"));
    if (SameTextIgnoringCase(ReadProfileValue(target, HiddenKey(name, L" Entry2"), L"False"),
                             L"true")) {
        tweak.second = ReadTweakValue(target, HiddenKey(name, L"2"), HiddenKey(name, L" True2"),
                                      HiddenKey(name, L" False2"));
    }
    return tweak;
}
