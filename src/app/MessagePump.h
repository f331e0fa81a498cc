#pragma once
#include <windows.h>

#include "platform/Throttle.h"

// Runs every queued window message of this thread to completion, then returns.
// Returns false once the application is quitting: the quit message it met is posted again,
// so the outer message loop still ends the program.
bool DoEvents();

// Hands one message to its window, with the shortcut keys and the keyboard navigation of the
// top-level window it belongs to (Tab between controls).
void DispatchWindowMessage(MSG& message);

// The shortcut keys of a top-level window: their commands reach the window as WM_COMMAND before
// any control sees the keys. The table stays the caller's; nullptr removes it.
void SetShortcutKeys(HWND topLevel, HACCEL keys);

// DoEvents for a loop that yields after every small step. An empty PeekMessage also flushes and
// polls the display, which costs as much as a step where the window system runs as a separate
// server: the queue's status is asked first and the queue run only when something waits in it,
// and in full at least every `fullInterval` milliseconds, so that input the display holds still
// reaches the queue.
class FrequentYield {
public:
    explicit FrequentYield(DWORD fullInterval) : fullRun_(fullInterval) {}
    // As DoEvents: false once the application is quitting.
    bool Run();

private:
    Throttle fullRun_;
};
