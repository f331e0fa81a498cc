#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "batch/SearchTexts.h"

// The state `list` tells of a program. A new state is added here alone: its value, its text, the
// search that finds its programs and how a program that search found is told to be in it.
enum class ProgramState { Unthemed, Themed };

inline constexpr ProgramState kEveryProgramState[] = {ProgramState::Unthemed, ProgramState::Themed};

// "unthemed", "themed": the word of the state column and of the --themed/--unthemed options.
std::wstring_view ProgramStateText(ProgramState state);

// The batch search mode that finds the programs of that state.
SearchMode SearchModeFinding(ProgramState state);

// The state of a program that the search in that mode found; nothing when what it found is no
// program (a manifest whose executable is gone).
std::optional<ProgramState> StateOfFound(SearchMode mode, const std::wstring& executablePath);
