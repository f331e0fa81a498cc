#include "theming/FailureReport.h"

#include <algorithm>

#include "platform/ListedLines.h"

namespace {

constexpr wchar_t kAccessDeniedAdvice[] =
    L"Access was denied because this account may not change files in those folders (Program Files, for one). "
    L"Running XP Vestrim as administrator allows it.";

// A heading over the programs it names, without the last line break.
std::wstring ProgramsBlock(const std::wstring& heading, const std::vector<std::wstring>& lines) {
    std::wstring block = heading + L"\r\n\r\n" + ListedLines(lines);
    block.resize(block.size() - 2);
    return block;
}

void AddParagraph(std::wstring& text, const std::wstring& paragraph) {
    if (paragraph.empty()) return;
    if (!text.empty()) text += L"\r\n\r\n";
    text += paragraph;
}

}  // namespace

void FailureReport::Add(const ProgramOutcome& outcome) {
    if (!outcome.Plain()) outcomes_.push_back(outcome);
}

void FailureReport::Add(const std::wstring& path, ManifestFailure failure, DWORD platformError) {
    Add(ProgramOutcome{.program = path, .failure = failure, .platformError = platformError});
}

void FailureReport::Add(const HistoryCommit& commit) {
    if (commit.notRecorded > 0) HistoryNotRecorded();
    if (commit.notDropped > 0) HistoryTrouble(HistoryStore::Trouble::NotUpdated);
}

bool FailureReport::AnyAccessDenied() const {
    return std::ranges::any_of(outcomes_,
                               [](const ProgramOutcome& outcome) { return outcome.failure == ManifestFailure::AccessDenied; });
}

std::wstring FailureReport::Text() const {
    std::wstring text;
    std::vector<std::wstring> failed;
    for (const ProgramOutcome& outcome : outcomes_) {
        if (!outcome.Done()) failed.push_back(outcome.program + L" - " + FailureReason(outcome.failure, outcome.platformError));
    }
    if (!failed.empty()) {
        text = ProgramsBlock(FailureHeading(action_ == Action::Theme, failed.size()), failed) +
               L"\r\n\r\nEverything else was done.";
        if (AnyAccessDenied()) AddParagraph(text, kAccessDeniedAdvice);
    }
    if (historyNotRecorded_) AddParagraph(text, HistoryNotRecordedText());
    AddParagraph(text, HistoryTroubleText(historyTrouble_));
    AddParagraph(text, PreferenceText(preference_));
    for (const OutcomeNote note : kOutcomeNotes) {
        std::vector<std::wstring> noted;
        for (const ProgramOutcome& outcome : outcomes_) {
            if (outcome.Done() && HasNote(outcome, note)) noted.push_back(outcome.program);
        }
        if (!noted.empty()) AddParagraph(text, ProgramsBlock(NoteHeading(note, noted.size()), noted));
    }
    return text;
}
