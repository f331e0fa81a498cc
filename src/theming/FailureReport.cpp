#include "theming/FailureReport.h"

#include <algorithm>

#include "platform/ErrorText.h"
#include "theming/ProgramList.h"

namespace {

constexpr wchar_t kAccessDeniedAdvice[] =
    L"Access was denied because this account may not change files in those folders (Program Files, for one). "
    L"Running XP Vestrim as administrator allows it.";

std::wstring PlainReason(ManifestFailure failure) {
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
        case ManifestFailure::NotOurs:
            return L"a manifest XP Vestrim did not write is already there, so it was kept";
        case ManifestFailure::BehindLink:
            return L"a link or junction on its path leads elsewhere, so nothing was changed there";
        case ManifestFailure::Missing:
            return L"not found";
        case ManifestFailure::Rejected:
            return L"Windows refused the manifest written for it, so the program was left as it was";
        case ManifestFailure::Other:
            break;
    }
    return L"the system refused";
}

}  // namespace

std::wstring FailureReason(ManifestFailure failure, DWORD platformError) {
    std::wstring reason = PlainReason(failure);
    if (platformError != ERROR_SUCCESS) reason += L" (" + PlatformErrorText(platformError) + L")";
    return reason;
}


bool FailureReport::AnyAccessDenied() const {
    return std::ranges::any_of(failures_,
                               [](const Failure& failure) { return failure.failure == ManifestFailure::AccessDenied; });
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
            lines.push_back(failure.path + L" - " + FailureReason(failure.failure, failure.platformError));
        }
        text += ListedPrograms(lines);
        text += L"\r\nEverything else was done.";
        if (AnyAccessDenied()) {
            text += L"\r\n\r\n";
            text += kAccessDeniedAdvice;
        }
    }
    if (historyNotRecorded_) {
        if (!text.empty()) text += L"\r\n\r\n";
        text += L"The history file could not record every program that was themed, so those programs "
                L"will not be listed in History. Their manifests were written.";
    }
    const std::wstring trouble = HistoryTroubleText(historyTrouble_);
    if (!trouble.empty()) {
        if (!text.empty()) text += L"\r\n\r\n";
        text += trouble;
    }
    if (!notes_.Empty()) {
        if (!text.empty()) text += L"\r\n\r\n";
        text += notes_.Text();
    }
    return text;
}

std::wstring HistoryTroubleText(HistoryStore::Trouble trouble) {
    constexpr wchar_t kWhatItNeeds[] =
        L"XP Vestrim changes history.db only when it is a plain file, not a link, that is not read-only, "
        L"on a disk with free space.";
    switch (trouble) {
        case HistoryStore::Trouble::None:
            return {};
        case HistoryStore::Trouble::Unreadable:
            return std::wstring(L"The history file could not be read, so History lists nothing; it was left as it "
                                L"was. It must be a plain file in UTF-16, UTF-8 or the system's code page. ") +
                   kWhatItNeeds;
        case HistoryStore::Trouble::NotUpdated:
            return std::wstring(L"The history file could not be updated, so it still names programs whose themes "
                                L"are gone (History does not list them). ") +
                   kWhatItNeeds;
    }
    return {};
}
