#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "history/HistoryStore.h"
#include "theming/OutcomeText.h"
#include "theming/ProgramOutcome.h"

// What an action over many programs tells once, at its end: the programs it could not handle (the
// first ten, then how many more) with the reason in plain words, what to do where access was
// denied, what came of the question about external manifests, the programs whose change needs a
// note (their own manifest, their old look on Vista and later, a restart), and a history that could
// not record what was themed or could not be read or kept up to date. Nothing is told of a program
// whose outcome is plain.
class FailureReport {
public:
    enum class Action { Theme, Untheme };

    explicit FailureReport(Action action) : action_(action) {}

    void Add(const ProgramOutcome& outcome);
    // A program not handled, with the platform's error, where there is one to tell, after the reason.
    void Add(const std::wstring& path, ManifestFailure failure, DWORD platformError = ERROR_SUCCESS);
    // What the history could not keep.
    void Add(const HistoryCommit& commit);
    void Preference(const PreferenceOutcome& outcome) { preference_ = outcome; }
    const PreferenceOutcome& Preference() const { return preference_; }
    void HistoryNotRecorded() { historyNotRecorded_ = true; }
    // The history still names programs whose themes were removed, or lists nothing at all.
    void HistoryTrouble(HistoryStore::Trouble trouble) { historyTrouble_ = trouble; }
    bool Empty() const { return Text().empty(); }

    // The message; empty when there is nothing to tell.
    std::wstring Text() const;

private:
    bool AnyAccessDenied() const;

    Action action_;
    std::vector<ProgramOutcome> outcomes_;
    PreferenceOutcome preference_;
    bool historyNotRecorded_ = false;
    HistoryStore::Trouble historyTrouble_ = HistoryStore::Trouble::None;
};
