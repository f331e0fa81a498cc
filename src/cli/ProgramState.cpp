#include "cli/ProgramState.h"

#include "manifest/ManifestFile.h"

std::wstring_view ProgramStateText(ProgramState state) {
    return state == ProgramState::Themed ? L"themed" : L"unthemed";
}

SearchMode SearchModeFinding(ProgramState state) {
    return state == ProgramState::Themed ? SearchMode::Themed : SearchMode::Unthemed;
}

std::optional<ProgramState> StateOfFound(SearchMode mode, const std::wstring& executablePath) {
    if (mode == SearchMode::Unthemed) return ProgramState::Unthemed;
    // The themed search lists manifests, whether or not their executable is still there.
    if (!IsFilePresent(executablePath)) return std::nullopt;
    return ProgramState::Themed;
}
