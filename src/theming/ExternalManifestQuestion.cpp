#include "theming/ExternalManifestQuestion.h"

#include <utility>

#include "platform/ErrorText.h"
#include "theming/ProgramList.h"

ExternalManifestQuestion::ExternalManifestQuestion(const std::vector<std::wstring>& executablePaths,
                                                   OwnManifestReadings& ownManifests, WindowsVersion windows,
                                                   SideBySideKey key)
    : key_(std::move(key)) {
    if (!windows.IsVistaOrLater() || ExternalManifestsPreferred(key_)) return;
    for (const std::wstring& path : executablePaths) {
        if (ownManifests.Of(path) == OwnManifest::WithoutCommonControls6) hiddenFiles_.push_back(path);
    }
}

std::wstring ExternalManifestQuestion::Text() const {
    return L"These programs carry a manifest of their own, and this version of Windows ignores the manifest "
           L"XP Vestrim writes beside them unless external manifests are preferred:\r\n\r\n" +
           ListedPrograms(hiddenFiles_) +
           L"\r\nShould Windows prefer external manifests? This setting is for the whole computer and needs "
           L"administrator rights.\r\n\r\n"
           L"Yes: prefer external manifests, then theme the programs.\r\n"
           L"No: theme the programs anyway; those listed keep their look.\r\n"
           L"Cancel: theme nothing.";
}

ExternalManifestQuestion::Decision ExternalManifestQuestion::Decide(Answer answer) const {
    if (answer == Answer::Cancel) return {false, {}};
    if (answer == Answer::No) return {};
    const LONG result = PreferExternalManifests(key_);
    if (result == ERROR_SUCCESS) return {};
    return {true, L"Windows could not be set to prefer external manifests (" +
                      PlatformErrorText(static_cast<DWORD>(result)) +
                      L"), so the programs that carry a manifest of their own will keep their look. The programs "
                      L"are themed anyway.\r\n\r\n"
                      L"To give them the new look, start XP Vestrim as an administrator (right-click it and "
                      L"choose \"Run as administrator\"), remove the theme of one of these programs, apply it "
                      L"again and answer Yes; or have an administrator set the value PreferExternalManifest to the "
                      L"number 1 under HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SideBySide."};
}
