#include "cli/StopRequest.h"

#include <windows.h>

#include <atomic>

namespace {

// Set on the thread the console starts for the event.
std::atomic<bool> stopRequested{false};

BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    stopRequested = true;
    return TRUE;
}

}  // namespace

void StopOnConsoleBreak() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

bool StopRequested() { return stopRequested; }
