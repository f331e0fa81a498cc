#include "app/ExternalManifestQuestion.h"

#include "platform/ListedLines.h"

std::wstring ExternalManifestQuestionText(const std::vector<std::wstring>& programs) {
    const bool one = programs.size() == 1;
    return std::wstring(one ? L"This program carries a manifest of its own, and this version of Windows ignores the "
                              L"manifest XP Vestrim writes beside it unless external manifests are preferred:"
                            : L"These programs carry a manifest of their own, and this version of Windows ignores the "
                              L"manifest XP Vestrim writes beside them unless external manifests are preferred:") +
           L"\r\n\r\n" + ListedLines(programs) +
           L"\r\nShould Windows prefer external manifests? This setting is for the whole computer and needs "
           L"administrator rights.\r\n\r\n" +
           (one ? L"Yes: prefer external manifests, then theme the program.\r\n"
                  L"No: theme the program anyway; it keeps its old look.\r\n"
                : L"Yes: prefer external manifests, then theme the programs.\r\n"
                  L"No: theme the programs anyway; those listed keep their old look.\r\n") +
           L"Cancel: theme nothing.";
}

std::wstring PreferenceAdviceText() {
    return L"To give them the new look, start XP Vestrim as an administrator (right-click it and choose \"Run as "
           L"administrator\"), remove the theme of one of these programs, apply it again and answer Yes; or have an "
           L"administrator set the value PreferExternalManifest to the number 1 under "
           L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SideBySide.";
}
