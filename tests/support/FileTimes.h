#pragma once
#include <windows.h>

#include <string>

#include "support/doctest_wide.h"

namespace xpv_test {

// 1 January 2001: a last-write time no step of a test can give a file by chance.
inline constexpr FILETIME kLongAgo{0xC89DC000, 0x01C07385};

inline ULONGLONG Ticks(const FILETIME& time) { return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

inline ULONGLONG Now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return Ticks(now);
}

inline ULONGLONG LastWriteOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    REQUIRE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    return Ticks(data.ftLastWriteTime);
}

// Gives the file the last-write time kLongAgo.
inline void MakeOld(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    CHECK(SetFileTime(file, nullptr, nullptr, &kLongAgo));
    CloseHandle(file);
    REQUIRE(LastWriteOf(path) == Ticks(kLongAgo));
}

}  // namespace xpv_test
