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

// The platform's error code, ERROR_SUCCESS when the file holds exactly these bytes. Its length is
// cut only after they are written, so that its old bytes still have their room when they must be
// put back.
DWORD WriteWhole(HANDLE file, std::string_view bytes) {
    LARGE_INTEGER position{};
    if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN)) return GetLastError();
    if (const DWORD error = WriteAllTo(file, bytes); error != ERROR_SUCCESS) return error;
    return SetEndOfFile(file) ? ERROR_SUCCESS : GetLastError();
}

// For a folder that takes no new file, though its files may be written: the bytes are written over
// the file itself, opened for no one else. Its old bytes are kept meanwhile, and put back when
// the new ones could not all be written (a full disk), so that it never stays half-written.
bool OverwriteWholeFile(const std::wstring& path, std::string_view bytes) {
    const UniqueHandle file(CreateFileW(PathForFileCalls(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > MAXLONG) return false;
    std::string previous(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!previous.empty() &&
        (!ReadFile(file.get(), previous.data(), static_cast<DWORD>(previous.size()), &read, nullptr) ||
         read != previous.size())) {
        return false;
    }
    if (WriteWhole(file.get(), bytes) == ERROR_SUCCESS) return true;
    // Its old bytes fit where they were.
    WriteWhole(file.get(), previous);
    return false;
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
    // A folder that refuses a new file, or a new file in the place of one, may let the file be
    // written all the same.
    if (!temporary.created()) return !creating && OverwriteWholeFile(path, bytes);
    if (temporary.Write(bytes) != ERROR_SUCCESS) return false;
    // A file that appears meanwhile is not replaced by a creation.
    const DWORD moveFlags = MOVEFILE_WRITE_THROUGH | (creating ? 0 : MOVEFILE_REPLACE_EXISTING);
    if (!MoveFileExW(temporary.path().c_str(), path.c_str(), moveFlags)) {
        return !creating && OverwriteWholeFile(path, bytes);
    }
    temporary.keep();
    if (!creating) SetFileAttributesW(path.c_str(), attributes);
    return true;
}
