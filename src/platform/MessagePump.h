#pragma once

// Runs every queued window message of this thread to completion, then returns.
// Returns false once the application is quitting: the quit message it met is posted again,
// so the outer message loop still ends the program.
bool DoEvents();
