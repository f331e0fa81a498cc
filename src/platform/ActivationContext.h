#pragma once
#include <windows.h>

#include <string>

// Asks the side-by-side loader to build an activation context from a manifest file, as it does
// for the program the manifest belongs to (its dependencies looked up in this machine's store),
// and releases it at once. ERROR_SUCCESS when the loader accepts the file, else the platform's
// error code. The file's name need not end in ".manifest". Paths of any length.
DWORD ActivationContextError(const std::wstring& manifestFile);
