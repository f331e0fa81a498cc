#include "cli/ProgramFiles.h"

#include "history/HistoryLocation.h"

// The history is chosen by the window's own rule, so that both name the same file and take the
// same lock.
ProgramFiles ProgramFilesIn(const std::wstring& programDirectory) {
    return {ChooseHistoryFile(programDirectory), programDirectory + L"\\settings.db"};
}
