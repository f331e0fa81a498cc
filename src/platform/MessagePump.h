#pragma once
#include <windows.h>

// Runs every queued window message of this thread to completion, then returns.
// Returns false once the application is quitting: the quit message it met is posted again,
// so the outer message loop still ends the program.
bool DoEvents();

// Hands one message to its window, with the keyboard navigation of the top-level window it
// belongs to (Tab between controls).
void DispatchWindowMessage(MSG& message);
