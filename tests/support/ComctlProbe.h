#pragma once
#include <string>

namespace xpv_test {

// Runs a copy of the probe program and returns, in lower case, the path of the comctl32.dll
// the loader gave it, or "loadlibrary failed: <error>".
std::wstring LoadedCommonControls(const std::wstring& probe, const std::wstring& report);

// The system's own copy, as opposed to the side-by-side Common Controls 6.
bool IsSystemCommonControls(const std::wstring& loaded);

// False when the test runner says this host runs no 32-bit code, so a 32-bit probe cannot start.
bool HostRuns32BitPrograms();

// Whether the side-by-side store has the 32-bit Common Controls 6: a Wine prefix made on a host
// that runs no 32-bit code has none.
bool StoreHasX86CommonControls();

}  // namespace xpv_test
