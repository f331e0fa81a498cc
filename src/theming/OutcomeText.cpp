#include "theming/OutcomeText.h"

#include "platform/ErrorText.h"
#include "theming/ExternalManifestPreference.h"

namespace {

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

struct NoteWords {
    const wchar_t* one;
    const wchar_t* several;
    const wchar_t* phrase;
};

NoteWords WordsOf(OutcomeNote note) {
    switch (note) {
        case OutcomeNote::ThemedByOwnManifest:
            return {L"This program was themed as asked, but its own manifest already gives it the Windows XP look:",
                    L"These programs were themed as asked, but their own manifest already gives them the Windows XP "
                    L"look:",
                    L"its own manifest already gives it the Windows XP look"};
        case OutcomeNote::KeepsOldLook:
            return {L"This program was themed, but it keeps its old look on Windows Vista and later, because its own "
                    L"manifest takes the place of the one beside it while external manifests are not preferred:",
                    L"These programs were themed, but they keep their old look on Windows Vista and later, because "
                    L"their own manifest takes the place of the one beside them while external manifests are not "
                    L"preferred:",
                    L"keeps its old look on Windows Vista and later, because its own manifest takes the place of the "
                    L"one beside it while external manifests are not preferred"};
        case OutcomeNote::ShowsAfterRestart:
            break;
    }
    return {L"Windows could not be told that this program changed, so the change shows after Windows restarts:",
            L"Windows could not be told that these programs changed, so the change shows after Windows restarts:",
            L"Windows could not be told that the program changed, so the change shows after Windows restarts"};
}

}  // namespace

std::wstring FailureReason(ManifestFailure failure, DWORD platformError) {
    std::wstring reason = PlainReason(failure);
    if (platformError != ERROR_SUCCESS) reason += L" (" + PlatformErrorText(platformError) + L")";
    return reason;
}

bool HasNote(const ProgramOutcome& outcome, OutcomeNote note) {
    switch (note) {
        case OutcomeNote::ThemedByOwnManifest:
            return outcome.themedByOwnManifest;
        case OutcomeNote::KeepsOldLook:
            return outcome.keepsOldLook;
        case OutcomeNote::ShowsAfterRestart:
            break;
    }
    return outcome.showsAfterRestart;
}

std::wstring NoteHeading(OutcomeNote note, size_t programs) {
    const NoteWords words = WordsOf(note);
    return programs == 1 ? words.one : words.several;
}

std::wstring NotePhrase(OutcomeNote note) { return WordsOf(note).phrase; }

std::wstring FailureHeading(bool theming, size_t programs) {
    if (theming) return programs == 1 ? L"This program could not be themed:" : L"These programs could not be themed:";
    return programs == 1 ? L"The theme of this program could not be removed:"
                         : L"The themes of these programs could not be removed:";
}

std::wstring PreferenceValueText() {
    const SideBySideKey key;
    return L"HKEY_LOCAL_MACHINE\\" + key.path + L"\\" + kPreferExternalManifest + L" = 1";
}

std::wstring PreferenceText(const PreferenceOutcome& outcome) {
    switch (outcome.kind) {
        case PreferenceOutcome::Kind::NotAsked:
        case PreferenceOutcome::Kind::Declined:
            return {};
        case PreferenceOutcome::Kind::Set:
            return L"Windows now prefers external manifests (" + PreferenceValueText() +
                   L"): the programs that carry a manifest of their own take the one beside them.";
        case PreferenceOutcome::Kind::NotSet:
            break;
    }
    return L"Windows could not be set to prefer external manifests (" +
           PlatformErrorText(static_cast<DWORD>(outcome.platformError)) +
           L"), so the programs that carry a manifest of their own keep their old look on Windows Vista and later.";
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

std::wstring HistoryNotRecordedText() {
    return L"The history file could not record every program that was themed, so those programs will not be "
           L"listed in History. Their manifests were written.";
}
