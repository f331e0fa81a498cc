#include "settings/RegistryLocation.h"

#include "platform/TextFunctions.h"

RegistryLocation SplitRegistryLocation(std::wstring_view location) {
    constexpr std::wstring_view kComma = L",";
    RegistryLocation split;
    split.rootName = TextBefore(kComma, location);
    std::wstring rest = TextAfter(kComma, location);
    split.path = TextBefore(kComma, rest);
    rest = TextAfter(kComma, rest);
    split.valueName = TextBefore(kComma, rest);
    split.fallback = TextAfter(kComma, rest);
    return split;
}

std::wstring RegistryPlaceText(const RegistryLocation& location) {
    return location.rootName + L"\\" + location.path + L"\\" +
           (location.valueName.empty() ? L"(default)" : location.valueName);
}
