#include "theming/ExternalManifestPreference.h"

#include <cstdint>
#include <variant>

bool ExternalManifestsPreferred(const SideBySideKey& key) {
    const RegistryValue value = QueryRegistryValue(key.root, key.path, kPreferExternalManifest, L"");
    const auto* number = std::get_if<std::int32_t>(&value);
    return number && *number == 1;
}

LONG PreferExternalManifests(const SideBySideKey& key) {
    return SetRegistryNumber(key.root, key.path, kPreferExternalManifest, 1);
}
