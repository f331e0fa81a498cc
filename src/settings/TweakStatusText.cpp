#include "settings/TweakStatusText.h"

#include "platform/ErrorText.h"
#include "platform/ListedLines.h"
#include "settings/SettingsCatalogue.h"

namespace {

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::wstring EntryText(const std::wstring& key) { return L"entry " + Quoted(key) + L" in settings.db"; }

// The sentence on one value that was not written; `index` counts from 1, as the entries do.
std::wstring ValueReason(const std::wstring& name, const TweakValueStatus& value, size_t index, bool on) {
    const std::wstring number = std::to_wstring(index);
    const std::wstring locationKey = index == 1 ? name : HiddenKey(name, number);
    switch (value.result) {
        case TweakValueResult::Written:
            break;
        case TweakValueResult::UnknownRoot:
            return L"Its " + EntryText(locationKey) + L" names the root key " + Quoted(value.location.rootName) +
                   L", which Windows does not have: write it in full, such as HKEY_CURRENT_USER.";
        case TweakValueResult::NumberOutOfRange:
            return L"Its " + EntryText(HiddenKey(name, (on ? L" True" : L" False") + number)) + L" holds " +
                   Quoted(value.text) +
                   L", a number a registry number cannot hold (it holds -2147483648 to 2147483647): correct "
                   L"the entry.";
        case TweakValueResult::Refused:
            return L"The registry refused to write " + RegistryPlaceText(value.location) + L" (" +
                   PlatformErrorText(value.platformError) + L"): " +
                   (value.platformError == ERROR_ACCESS_DENIED
                        ? L"this account may not change it; run XP Vestrim as administrator."
                        : L"check the place its " + EntryText(locationKey) + L" names.");
    }
    return L"";
}

}  // namespace

std::wstring TweakNotSetText(const AppliedTweak& tweak) {
    const TweakStatus& status = tweak.status;
    if (status.Written()) return L"";
    std::wstring text = Quoted(tweak.name) + (status.WrittenInPart() ? L" was turned " : L" was not turned ") +
                        (status.on ? L"on" : L"off") + (status.WrittenInPart() ? L" only in part." : L".");
    if (!status.typeKnown) {
        return text + L" Its " + EntryText(HiddenKey(tweak.name, L" Type1")) +
               L" names no type to write it as: make it String or Int (letter case counts).";
    }
    for (size_t i = 0; i < status.values.size(); ++i) {
        if (status.values[i].result == TweakValueResult::Written) continue;
        text += L" " + ValueReason(tweak.name, status.values[i], i + 1, status.on);
    }
    return text;
}

std::wstring TweaksNotSetReport(const std::vector<AppliedTweak>& applied) {
    std::vector<std::wstring> lines;
    for (const AppliedTweak& tweak : applied) {
        if (!tweak.status.Written()) lines.push_back(TweakNotSetText(tweak));
    }
    if (lines.empty()) return L"";
    std::wstring text = lines.size() == 1 ? L"This tweak was not set as its box shows:"
                                          : L"These " + std::to_wstring(lines.size()) +
                                                L" tweaks were not set as their boxes show:";
    text += L"\r\n\r\n" + ListedLines(lines) + L"\r\n";
    const size_t set = applied.size() - lines.size();
    if (set == 1) text += L"The other tweak was set. ";
    if (set > 1) text += L"The other " + std::to_wstring(set) + L" tweaks were set. ";
    return text + L"Refresh Settings shows what the registry holds now.";
}
