#include "platform/WindowsVersion.h"

#include <windows.h>

namespace {

std::optional<WindowsVersion> overridden;

// GetVersionEx answers what a compatibility setting makes it answer (and, without a manifest
// naming later versions, 6.2 on every Windows from 8 on). The function of ntdll answers the real
// version; it is looked up, so that the program also loads where it might be missing.
WindowsVersion SystemVersion() {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!rtlGetVersion || rtlGetVersion(&info) != 0) {
        info = {};
        info.dwOSVersionInfoSize = sizeof info;
        if (!GetVersionExW(&info)) return {};
    }
    return {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

}  // namespace

WindowsVersion CurrentWindowsVersion() {
    if (overridden) return *overridden;
    static const WindowsVersion version = SystemVersion();
    return version;
}

WindowsVersionOverride::WindowsVersionOverride(WindowsVersion version) : previous_(overridden) {
    overridden = version;
}

WindowsVersionOverride::~WindowsVersionOverride() { overridden = previous_; }
