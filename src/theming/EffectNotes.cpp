#include "theming/EffectNotes.h"

#include "theming/ProgramList.h"

std::wstring EffectNotes::Text() const {
    std::wstring text;
    if (!ownManifest_.empty()) {
        text = L"These programs were themed as asked, but their own manifest already gives them the Windows XP "
               L"look:\r\n\r\n" +
               ListedPrograms(ownManifest_);
    }
    if (!loaderMayRemember_.empty()) {
        if (!text.empty()) text += L"\r\n";
        text += L"Windows could not be told that these programs changed, so the change shows after Windows "
                L"restarts:\r\n\r\n" +
                ListedPrograms(loaderMayRemember_);
    }
    return text;
}
