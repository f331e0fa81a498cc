#pragma once
#include <windows.h>

#include <string>

// Sets the file's last-write time to now. The file is opened with the right to change its
// attributes only, never with a right to its content. The platform's error code, ERROR_SUCCESS
// when the time was set. Paths of any length.
DWORD SetLastWriteTimeToNow(const std::wstring& path);
