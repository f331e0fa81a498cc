#include "platform/WholeFile.h"

#include <windows.h>

#include <algorithm>

#include "platform/UniqueHandle.h"

namespace {

std::wstring TempFileBeside(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    const std::wstring folder = separator == std::wstring::npos ? L"." : path.substr(0, separator);
    wchar_t temp[MAX_PATH];
    if (GetTempFileNameW(folder.c_str(), L"ini", 0, temp) == 0) {
        return {};
    }
    return temp;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::wstring& path, size_t limit) {
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > MAXLONG) {
        return std::nullopt;
    }
    std::string bytes(std::min(static_cast<size_t>(size.QuadPart), limit), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return std::nullopt;
    }
    bytes.resize(read);
    return bytes;
}

bool WriteNewFile(const std::wstring& path, std::string_view bytes, DWORD disposition) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    DWORD done = 0;
    const bool written =
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
        done == bytes.size();
    file.reset();
    if (!written) {
        DeleteFileW(path.c_str());
    }
    return written;
}

bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return false;
    }
    const std::wstring temp = TempFileBeside(path);
    if (temp.empty()) {
        return false;
    }
    if (!WriteNewFile(temp, bytes, CREATE_ALWAYS) ||
        !MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.c_str());
        return false;
    }
    SetFileAttributesW(path.c_str(), attributes);
    return true;
}
