#include "platform/LastWriteTime.h"

#include "platform/LongPath.h"
#include "platform/UniqueHandle.h"

DWORD SetLastWriteTimeToNow(const std::wstring& path) {
    // A program that runs holds its file open for reading and execution; full sharing lets the
    // time change anyway.
    const UniqueHandle file(CreateFileW(PathForFileCalls(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return SetFileTime(file.get(), nullptr, nullptr, &now) ? ERROR_SUCCESS : GetLastError();
}
