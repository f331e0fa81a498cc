#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "batch/SearchMode.h"

// The state `list` tells of a program: whether a manifest lies beside it and what the manifest it
// carries in its own image means. The own manifest beats the file beside it: a program that
// carries one is told by it whether or not a manifest lies beside it (--themed and --unthemed
// choose by the file beside).
enum class ProgramState {
    Unthemed,           // no manifest beside it, none of its own
    Themed,             // a manifest beside it, none of its own
    OwnManifest,        // its own manifest lacks Common Controls 6: Vista and later ignore the file
                        // beside it unless external manifests are preferred
    OwnManifestThemed,  // its own manifest asks for Common Controls 6: it has the look on any Windows
};

// "unthemed", "themed", "own-manifest", "own-manifest-themed": the word of the state column.
std::wstring_view ProgramStateText(ProgramState state);

// The state of a program that the search in that mode found, its own manifest read; nothing when
// what it found is no program (a manifest whose executable is gone).
std::optional<ProgramState> StateOfFound(SearchMode mode, const std::wstring& executablePath);
