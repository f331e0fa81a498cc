#include "cli/ProgramState.h"

#include "manifest/ManifestFile.h"
#include "manifest/OwnManifest.h"

std::wstring_view ProgramStateText(ProgramState state) {
    switch (state) {
        case ProgramState::Unthemed:
            return L"unthemed";
        case ProgramState::Themed:
            return L"themed";
        case ProgramState::OwnManifest:
            return L"own-manifest";
        case ProgramState::OwnManifestThemed:
            return L"own-manifest-themed";
    }
    return {};
}

std::optional<ProgramState> StateOfFound(SearchMode mode, const std::wstring& executablePath) {
    // The themed search lists manifests, whether or not their executable is still there.
    if (mode == SearchMode::Themed && !IsFilePresent(executablePath)) return std::nullopt;
    switch (ClassifyOwnManifest(executablePath)) {
        case OwnManifest::AsksForCommonControls6:
            return ProgramState::OwnManifestThemed;
        case OwnManifest::WithoutCommonControls6:
            return ProgramState::OwnManifest;
        case OwnManifest::None:
            break;
    }
    return mode == SearchMode::Themed ? ProgramState::Themed : ProgramState::Unthemed;
}
