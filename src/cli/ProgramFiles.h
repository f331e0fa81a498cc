#pragma once
#include <string>

// The files of the window program this console program ships with: they lie in the same folder,
// so that the window and scripts share one history and one catalogue.
struct ProgramFiles {
    std::wstring history;    // history.db, beside the program or in the user's application data
    std::wstring catalogue;  // settings.db, read only
};

ProgramFiles ProgramFilesIn(const std::wstring& programDirectory);
