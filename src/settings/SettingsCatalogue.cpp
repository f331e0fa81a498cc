#include "settings/SettingsCatalogue.h"

#include "platform/ProfileSectionScanner.h"
#include "platform/TextFunctions.h"

namespace {

constexpr std::wstring_view kHiddenKeyPrefix = L"xxxxx";

}  // namespace

std::wstring HiddenKey(const std::wstring& name, std::wstring_view suffix) {
    return std::wstring(kHiddenKeyPrefix) + name + std::wstring(suffix);
}

std::optional<std::vector<std::wstring>> ListSettingsGroups(const std::wstring& catalogue) {
    return ListProfileSections(catalogue);
}

std::vector<std::wstring> ListGroupTweaks(const std::wstring& catalogue, const std::wstring& group) {
    return CatalogueGroup::Read(catalogue, group).TweakNames();
}

std::optional<TweakType> ParseTweakType(std::wstring_view text) {
    if (text == L"String") return TweakType::String;
    if (text == L"Int") return TweakType::Int;
    return std::nullopt;
}

CatalogueGroup CatalogueGroup::Read(const std::wstring& catalogue, const std::wstring& group) {
    CatalogueGroup read;
    read.rows_ = ReadSectionEntries({catalogue, group}, ValueLength::Whole);
    read.firstRowOfKey_.reserve(read.rows_.size());
    for (size_t row = 0; row < read.rows_.size(); ++row) read.firstRowOfKey_.emplace(UpperCase(read.rows_[row].key), row);
    return read;
}

std::vector<std::wstring> CatalogueGroup::TweakNames() const {
    std::vector<std::wstring> names;
    for (const ProfileEntry& row : rows_) {
        if (!row.key.starts_with(kHiddenKeyPrefix)) names.push_back(row.key);
    }
    return names;
}

Tweak CatalogueGroup::TweakNamed(const std::wstring& name) const {
    Tweak tweak;
    tweak.writtenAs = ParseTweakType(Value(HiddenKey(name, L" Type1"), L""));
    tweak.first = ValueEntries(name, HiddenKey(name, L" True1"), HiddenKey(name, L" False1"));
    if (SameTextIgnoringCase(Value(HiddenKey(name, L" Entry2"), L"False"), L"true")) {
        tweak.second = ValueEntries(HiddenKey(name, L"2"), HiddenKey(name, L" True2"), HiddenKey(name, L" False2"));
    }
    return tweak;
}

std::wstring CatalogueGroup::Value(const std::wstring& key, const std::wstring& defaultValue) const {
    const auto found = firstRowOfKey_.find(UpperCase(key));
    return found == firstRowOfKey_.end() ? defaultValue : rows_[found->second].value;
}

TweakValue CatalogueGroup::ValueEntries(const std::wstring& locationKey, const std::wstring& onKey,
                                        const std::wstring& offKey) const {
    return {SplitRegistryLocation(Value(locationKey, L"")), Value(onKey, L""), Value(offKey, L"")};
}

Tweak ReadTweak(const std::wstring& catalogue, const std::wstring& group, const std::wstring& name) {
    return CatalogueGroup::Read(catalogue, group).TweakNamed(name);
}
