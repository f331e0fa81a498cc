#pragma once
#include <windows.h>

#include <string>

#include "history/HistoryStore.h"
#include "manifest/ManifestFailure.h"
#include "theming/ProgramOutcome.h"

// The words for every outcome of an action, in one place: the window gathers them into the
// report that ends an action, the console program prints them line by line.

// The reason in plain words, followed by the platform's own words for its error when one is given.
std::wstring FailureReason(ManifestFailure failure, DWORD platformError = ERROR_SUCCESS);

// What a program that is done may still need said, besides its being done.
enum class OutcomeNote {
    ThemedByOwnManifest,
    KeepsOldLook,
    ShowsAfterRestart,
};
// In the order they are told.
inline constexpr OutcomeNote kOutcomeNotes[] = {OutcomeNote::KeepsOldLook, OutcomeNote::ThemedByOwnManifest,
                                                OutcomeNote::ShowsAfterRestart};

// Whether the outcome carries the note.
bool HasNote(const ProgramOutcome& outcome, OutcomeNote note);

// The heading above the programs a note names in a report, for one program or for several.
std::wstring NoteHeading(OutcomeNote note, size_t programs);
// The note after a program's path on one line: "its own manifest already gives it ...".
std::wstring NotePhrase(OutcomeNote note);

// The heading above the programs an action could not handle, for one program or for several.
std::wstring FailureHeading(bool theming, size_t programs);

// The path of the value by which Windows prefers external manifests, and its number.
std::wstring PreferenceValueText();
// What came of the answer, in one sentence; empty when nothing was asked or declined.
std::wstring PreferenceText(const PreferenceOutcome& outcome);

// What the trouble means and what the file needs, in plain words; empty for none.
std::wstring HistoryTroubleText(HistoryStore::Trouble trouble);
// Programs themed whose entries the history could not record.
std::wstring HistoryNotRecordedText();
