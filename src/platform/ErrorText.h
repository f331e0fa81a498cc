#pragma once
#include <windows.h>

#include <string>

// A platform error as a user is told it: "error <number>: <the system's words for it>", or only
// the number where the system has no words for it.
std::wstring PlatformErrorText(DWORD error);
