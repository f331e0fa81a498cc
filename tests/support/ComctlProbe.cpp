#include "support/ComctlProbe.h"

#include <windows.h>

#include "platform/UniqueHandle.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

namespace xpv_test {

std::wstring LoadedCommonControls(const std::wstring& probe, const std::wstring& report) {
    DeleteFileW(report.c_str());
    std::wstring commandLine = L"\"" + probe + L"\" \"" + report + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    REQUIRE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                           nullptr, &startup, &started));
    const UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);
    REQUIRE(WaitForSingleObject(process.get(), 60000) == WAIT_OBJECT_0);
    const std::string bytes = ReadBytes(report);
    REQUIRE(!bytes.empty());
    std::wstring loaded(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    CharLowerBuffW(loaded.data(), static_cast<DWORD>(loaded.size()));
    return loaded;
}

bool IsSystemCommonControls(const std::wstring& loaded) {
    return loaded.find(L"\\system32\\comctl32.dll") != std::wstring::npos ||
           loaded.find(L"\\syswow64\\comctl32.dll") != std::wstring::npos;
}

bool HostRuns32BitPrograms() {
    // Set by wine-run.sh from the host's loader choice; a run outside it assumes they do.
    wchar_t value[4] = {};
    const DWORD length = GetEnvironmentVariableW(L"XPV_HOST_RUNS_32BIT", value, 4);
    return !(length == 2 && std::wstring(value) == L"no");
}

bool StoreHasX86CommonControls() {
    wchar_t windows[MAX_PATH] = {};
    REQUIRE(GetWindowsDirectoryW(windows, MAX_PATH) > 0);
    const std::wstring pattern = std::wstring(windows) + L"\\winsxs\\x86_microsoft.windows.common-controls_*";
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

}  // namespace xpv_test
