#include "theming/FailureReport.h"

#include "platform/ErrorText.h"
#include "theming/ProgramList.h"

std::wstring FailureReason(ManifestFailure failure) {
    switch (failure) {
        case ManifestFailure::None:
            return L"done";
        case ManifestFailure::InTheWay:
            return L"a folder or other item of the manifest's name is in the way";
        case ManifestFailure::AccessDenied:
            return L"access denied";
        case ManifestFailure::InUse:
            return L"in use by another program";
        case ManifestFailure::Foreign:
            return L"not written by XP Vestrim, and no Recycle Bin here could keep it";
        case ManifestFailure::NotAManifest:
            return L"not a manifest file, so it was left alone";
        case ManifestFailure::Missing:
            return L"not found";
        case ManifestFailure::Rejected:
            return L"Windows refused the manifest written for it, so the program was left as it was";
        case ManifestFailure::Other:
            break;
    }
    return L"the system refused";
}

void FailureReport::Add(const std::wstring& path, ManifestFailure failure, DWORD platformError) {
    failures_.push_back({path, failure, platformError});
}

std::wstring FailureReport::Text() const {
    std::wstring text;
    if (!failures_.empty()) {
        text = action_ == Action::Theme ? L"These programs could not be themed:\r\n\r\n"
                                        : L"The themes of these programs could not be removed:\r\n\r\n";
        std::vector<std::wstring> lines;
        for (const Failure& failure : failures_) {
            lines.push_back(failure.path + L" - " + FailureReason(failure.failure));
            if (failure.platformError != ERROR_SUCCESS) lines.back() += L" (" + PlatformErrorText(failure.platformError) + L")";
        }
        text += ListedPrograms(lines);
        text += L"\r\nEverything else was done.";
    }
    if (historyNotRecorded_) {
        if (!text.empty()) text += L"\r\n\r\n";
        text += L"The history file could not record every program that was themed, so those programs "
                L"will not be listed in History. Their manifests were written.";
    }
    if (!notes_.Empty()) {
        if (!text.empty()) text += L"\r\n\r\n";
        text += notes_.Text();
    }
    return text;
}
