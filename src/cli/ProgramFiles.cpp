#include "cli/ProgramFiles.h"

// Composed as the window composes them, so that both name the same file and take the same lock.
std::wstring HistoryFileForProgram(const std::wstring& programDirectory) {
    return programDirectory + L"\\history.db";
}

ProgramFiles ProgramFilesIn(const std::wstring& programDirectory) {
    return {HistoryFileForProgram(programDirectory), programDirectory + L"\\settings.db"};
}
