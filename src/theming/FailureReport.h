#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "history/HistoryStore.h"
#include "manifest/ManifestFailure.h"
#include "theming/EffectNotes.h"

// What went wrong in one action over many programs, told once at its end: the programs (the
// first ten, then how many more) with the reason in plain words, what to do where access was
// denied, whether the history could not record what was themed or could not be read or kept up
// to date, and the notes on how the changes take effect.
class FailureReport {
public:
    enum class Action { Theme, Untheme };

    explicit FailureReport(Action action) : action_(action) {}

    // The platform's error, where there is one to tell, follows the reason.
    void Add(const std::wstring& path, ManifestFailure failure, DWORD platformError = ERROR_SUCCESS);
    void HistoryNotRecorded() { historyNotRecorded_ = true; }
    // The history still names programs whose themes were removed, or lists nothing at all.
    void HistoryTrouble(HistoryStore::Trouble trouble) { historyTrouble_ = trouble; }
    EffectNotes& Notes() { return notes_; }
    bool Empty() const {
        return failures_.empty() && !historyNotRecorded_ && historyTrouble_ == HistoryStore::Trouble::None &&
               notes_.Empty();
    }

    // The message; empty when there is nothing to tell.
    std::wstring Text() const;

private:
    struct Failure {
        std::wstring path;
        ManifestFailure failure;
        DWORD platformError;
    };

    bool AnyAccessDenied() const;

    Action action_;
    std::vector<Failure> failures_;
    bool historyNotRecorded_ = false;
    HistoryStore::Trouble historyTrouble_ = HistoryStore::Trouble::None;
    EffectNotes notes_;
};

// The reason in plain words, followed by the platform's own words for its error when one is given.
std::wstring FailureReason(ManifestFailure failure, DWORD platformError = ERROR_SUCCESS);

// What the trouble means and what the file needs, in plain words; empty for none.
std::wstring HistoryTroubleText(HistoryStore::Trouble trouble);
