#include "platform/WholeFile.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "platform/LongPath.h"

namespace {

constexpr unsigned kTemporaryNames = 0x10000;

// The platform's error code, ERROR_SUCCESS when every byte is on disk.
DWORD WriteAllTo(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
            return GetLastError();
        }
        if (written == 0) return ERROR_DISK_FULL;
        bytes.remove_prefix(written);
    }
    return FlushFileBuffers(file) ? ERROR_SUCCESS : GetLastError();
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

TemporaryFile::TemporaryFile(const std::wstring& folder) {
    static unsigned nextNumber = GetTickCount();
    for (unsigned attempt = 0; attempt < kTemporaryNames; ++attempt) {
        wchar_t name[16] = {};
        std::swprintf(name, std::size(name), L"xpv%04X.tmp", nextNumber++ % kTemporaryNames);
        const std::wstring path = PathForFileCalls(folder + name);
        file_ = UniqueHandle(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file_) {
            path_ = path;
            return;
        }
        error_ = GetLastError();
        if (error_ != ERROR_FILE_EXISTS && error_ != ERROR_ALREADY_EXISTS) return;
    }
}

TemporaryFile::~TemporaryFile() {
    file_.reset();
    if (!path_.empty()) DeleteFileW(path_.c_str());
}

DWORD TemporaryFile::Write(std::string_view bytes) {
    const DWORD error = WriteAllTo(file_.get(), bytes);
    file_.reset();
    return error;
}

std::wstring FolderPartOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? L".\\" : path.substr(0, separator + 1);
}

bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool creating = attributes == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND;
    if (!creating && (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) != 0)) {
        return false;
    }
    TemporaryFile temporary(FolderPartOf(path));
    // A file that appears meanwhile is not replaced by a creation.
    const DWORD moveFlags = MOVEFILE_WRITE_THROUGH | (creating ? 0 : MOVEFILE_REPLACE_EXISTING);
    if (!temporary.created() || temporary.Write(bytes) != ERROR_SUCCESS ||
        !MoveFileExW(temporary.path().c_str(), path.c_str(), moveFlags)) {
        return false;
    }
    temporary.keep();
    if (!creating) SetFileAttributesW(path.c_str(), attributes);
    return true;
}
