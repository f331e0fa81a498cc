#pragma once
#include <string>

// The folder of the running program's executable, as the platform's lists write a folder: no
// trailing backslash, except at a drive root ("C:\"). Its profile files live there.
std::wstring ProgramFolder();
