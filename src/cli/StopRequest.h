#pragma once

// Ctrl+C and Ctrl+Break in the console ask the running command to stop: it finishes the item in
// hand, tells what was left undone and ends, instead of being cut off halfway.
void StopOnConsoleBreak();

bool StopRequested();
