#include "theming/ManifestNaming.h"

#include "platform/VersionInfo.h"

namespace {

std::wstring FileNameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

}  // namespace

ManifestDetails ChosenDetails(const std::wstring& executablePath, const DetailsChoice& choice) {
    if (const auto* given = std::get_if<ManifestDetails>(&choice)) return *given;
    const VersionDetails& rule = std::get<VersionDetails>(choice);
    VersionInfo version;
    version.SetFileName(executablePath);
    const DetailOverrides& overrides = rule.overrides;
    const std::wstring name = rule.naming == ApplicationNaming::OriginalFileName ? version.OriginalFileName()
                                                                                 : FileNameOf(executablePath);
    return {overrides.company.value_or(version.CompanyName()), overrides.product.value_or(version.ProductName()),
            overrides.applicationName.value_or(name), overrides.description.value_or(version.FileDescription())};
}
