#include "theming/OwnManifestTooltip.h"

#include "manifest/OwnManifest.h"

std::wstring OwnManifestTooltip(const std::wstring& executablePath) {
    switch (ClassifyOwnManifest(executablePath)) {
        case OwnManifest::AsksForCommonControls6:
            return L"Its own manifest already gives it the Windows XP look";
        case OwnManifest::WithoutCommonControls6:
            return L"Carries its own manifest; Windows Vista and later ignore the file beside it unless external "
                   L"manifests are preferred";
        case OwnManifest::None:
            break;
    }
    return {};
}
