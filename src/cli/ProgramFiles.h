#pragma once
#include <string>

// The files of the window program this console program ships with: they lie in the same folder,
// so that the window and scripts share one history and one catalogue.
struct ProgramFiles {
    std::wstring history;    // history.db
    std::wstring catalogue;  // settings.db, read only
};

// The history file of the program in that folder. Every use of the history goes through here.
std::wstring HistoryFileForProgram(const std::wstring& programDirectory);

ProgramFiles ProgramFilesIn(const std::wstring& programDirectory);
