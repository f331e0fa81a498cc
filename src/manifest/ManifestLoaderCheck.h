#pragma once
#include <windows.h>

#include <string>

#include "manifest/ExecutableArchitecture.h"

// The side-by-side loader's verdict on a manifest file written for a program of this
// architecture: ERROR_SUCCESS when it builds an activation context from the file, else its error.
// A machine's store may hold no Common Controls 6 for the architecture at all (a program kept
// for another machine): the loader then refuses the plain document of that architecture as well,
// which says nothing about the file, and the file counts as accepted.
DWORD LoaderRefusal(const std::wstring& manifestFile, ProcessorArchitecture architecture);
