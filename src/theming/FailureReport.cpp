#include "theming/FailureReport.h"

#include <algorithm>

namespace {

constexpr size_t kNamedAtMost = 10;
constexpr wchar_t kAccessDeniedAdvice[] =
    L"Access was denied because this account may not change files in those folders (Program Files, for one). "
    L"Running XP Vestrim as administrator allows it.";

}  // namespace

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
        case ManifestFailure::Other:
            break;
    }
    return L"the system refused";
}

bool FailureReport::AnyAccessDenied() const {
    return std::ranges::any_of(failures_,
                               [](const Failure& failure) { return failure.failure == ManifestFailure::AccessDenied; });
}

void FailureReport::Add(const std::wstring& path, ManifestFailure failure) { failures_.push_back({path, failure}); }

std::wstring FailureReport::Text() const {
    std::wstring text;
    if (!failures_.empty()) {
        text = action_ == Action::Theme ? L"These programs could not be themed:\r\n\r\n"
                                        : L"The themes of these programs could not be removed:\r\n\r\n";
        for (size_t i = 0; i < failures_.size() && i < kNamedAtMost; ++i) {
            text += failures_[i].path + L" - " + FailureReason(failures_[i].failure) + L"\r\n";
        }
        if (failures_.size() > kNamedAtMost) {
            text += L"and " + std::to_wstring(failures_.size() - kNamedAtMost) + L" more\r\n";
        }
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
    return text;
}
