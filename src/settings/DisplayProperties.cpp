#include "settings/DisplayProperties.h"

#include <windows.h>

#include "platform/UniqueHandle.h"

namespace {

constexpr wchar_t kDisplayPropertiesArguments[] = L" shell32.dll,Control_RunDLL desk.cpl,,5";

}  // namespace

bool StartProgram(const std::wstring& program, const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    // The command line buffer must be writable.
    std::wstring commandBuffer = commandLine;
    if (!CreateProcessW(program.c_str(), commandBuffer.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &started)) {
        return false;
    }
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    return true;
}

std::wstring SystemRundll32Path() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return std::wstring(folder, length) + L"\\rundll32.exe";
}

bool OpenDisplayProperties(const ProgramStarter& start) {
    const std::wstring program = SystemRundll32Path();
    if (program.empty()) {
        return false;
    }
    return start(program, L'"' + program + L'"' + kDisplayPropertiesArguments);
}
