#include "manifest/ManifestFile.h"

#include <windows.h>

#include <cwchar>
#include <iterator>

#include "manifest/ManifestDocument.h"
#include "manifest/RecycleBin.h"
#include "platform/LongPath.h"
#include "platform/MessagePump.h"
#include "platform/TextFunctions.h"
#include "platform/UniqueHandle.h"

namespace {

// Far above the largest document four detail boxes can give.
constexpr DWORD kLargestManifest = 16 * 1024 * 1024;

// The attributes SetFileAttributes accepts back, to restore what a failed step changed.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                      FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;

bool IsFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder part of a path, with its trailing separator.
std::wstring FolderOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? L".\\" : path.substr(0, separator + 1);
}

std::wstring FullPathOf(const std::wstring& path) {
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return path;
    full.resize(length);
    return full;
}

// A temporary file that is deleted again unless it was kept. Named here, as "xpvXXXX.tmp" with
// four hexadecimal digits, because GetTempFileName takes no folder near MAX_PATH or beyond.
class TemporaryFile {
public:
    // Creates an empty, uniquely named file in the folder (given with its trailing separator);
    // check created() before use.
    explicit TemporaryFile(const std::wstring& folder) {
        static unsigned nextNumber = GetTickCount();
        for (unsigned attempt = 0; attempt < kNames; ++attempt) {
            wchar_t name[16] = {};
            std::swprintf(name, std::size(name), L"xpv%04X.tmp", nextNumber++ % kNames);
            const std::wstring path = PathForFileCalls(folder + name);
            const UniqueHandle file(
                CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file) {
                path_ = path;
                return;
            }
            error_ = GetLastError();
            if (error_ != ERROR_FILE_EXISTS && error_ != ERROR_ALREADY_EXISTS) return;
        }
    }
    ~TemporaryFile() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool created() const { return !path_.empty(); }
    // Why it could not be created.
    DWORD error() const { return error_; }
    // In the form for file calls.
    const std::wstring& path() const { return path_; }
    void keep() { path_.clear(); }

private:
    static constexpr unsigned kNames = 0x10000;

    std::wstring path_;
    DWORD error_ = ERROR_SUCCESS;
};

// The platform's error code, ERROR_SUCCESS when every byte is on disk.
DWORD WriteWholeFile(const std::wstring& path, std::string_view bytes) {
    const UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
            return GetLastError();
        }
        if (written == 0) return ERROR_DISK_FULL;
        bytes.remove_prefix(written);
    }
    return FlushFileBuffers(file.get()) ? ERROR_SUCCESS : GetLastError();
}

enum class ManifestKind { Unreadable, OwnDocument, Foreign };

ManifestKind ClassifyManifest(const std::wstring& manifestPath) {
    const std::optional<std::string> bytes = ReadManifestFile(manifestPath);
    if (!bytes) return ManifestKind::Unreadable;
    return IsOwnManifestDocument(DecodeManifestBytes(*bytes)) ? ManifestKind::OwnDocument : ManifestKind::Foreign;
}

}  // namespace

std::wstring ManifestPathFor(const std::wstring& executablePath) { return executablePath + L".manifest"; }

bool IsFilePresent(const std::wstring& path) { return IsFile(GetFileAttributesW(PathForFileCalls(path).c_str())); }

bool IsManifestPresent(const std::wstring& manifestPath) { return IsFilePresent(manifestPath); }

std::optional<std::string> ReadManifestFile(const std::wstring& manifestPath) {
    const UniqueHandle file(CreateFileW(PathForFileCalls(manifestPath).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestManifest) return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())) {
        return std::nullopt;
    }
    return bytes;
}

ManifestWrite WriteManifestFile(const std::wstring& manifestPath, std::string_view bytes) {
    const std::wstring target = PathForFileCalls(manifestPath);
    const DWORD previous = GetFileAttributesW(target.c_str());
    const bool replacing = previous != INVALID_FILE_ATTRIBUTES;
    if (replacing && !IsFile(previous)) return {ManifestFailure::InTheWay};

    TemporaryFile temporary(FolderOf(manifestPath));
    if (!temporary.created()) return {FailureFromError(temporary.error())};
    if (const DWORD error = WriteWholeFile(temporary.path(), bytes)) return {FailureFromError(error)};
    if (!SetFileAttributesW(temporary.path().c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) {
        return {FailureFromError(GetLastError())};
    }
    // A read-only manifest cannot be replaced; a hidden or system one keeps the move from nothing.
    if (replacing && !SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL)) {
        return {FailureFromError(GetLastError())};
    }
    if (!MoveFileExW(temporary.path().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        if (replacing) SetFileAttributesW(target.c_str(), previous & kSettableAttributes);
        return {FailureFromError(error)};
    }
    temporary.keep();
    return {};
}

bool HasManifestName(std::wstring_view path) {
    constexpr std::wstring_view kEnding = L".exe.manifest";
    const size_t slash = path.find_last_of(L"\\/");
    return EndsWithIgnoringCase(slash == std::wstring_view::npos ? path : path.substr(slash + 1), kEnding);
}

ManifestRemoval RemoveManifest(const std::wstring& manifestPath) {
    const auto notRemoved = [](ManifestFailure failure) { return ManifestRemoval{RemovalOutcome::NotRemoved, failure}; };
    const std::wstring callPath = PathForFileCalls(manifestPath);
    const DWORD attributes = GetFileAttributesW(callPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return notRemoved(FailureFromError(GetLastError()));
    // A link or junction would lead the removal elsewhere; only the file itself is ours.
    if (!HasManifestName(manifestPath) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return notRemoved(ManifestFailure::NotAManifest);
    }
    if (!IsFile(attributes)) return notRemoved(ManifestFailure::InTheWay);
    const ManifestKind kind = ClassifyManifest(manifestPath);
    if (kind == ManifestKind::Unreadable) return notRemoved(ManifestFailure::InUse);
    const std::wstring fullPath = FullPathOf(manifestPath);
    if (kind == ManifestKind::Foreign && !HasConfirmedRecycleBin(fullPath)) return notRemoved(ManifestFailure::Foreign);

    if (!SetFileAttributesW(callPath.c_str(), FILE_ATTRIBUTE_NORMAL)) {
        return notRemoved(FailureFromError(GetLastError()));
    }
    DoEvents();
    DWORD error = ERROR_SUCCESS;
    if (kind == ManifestKind::OwnDocument) {
        if (DeleteFileW(callPath.c_str())) return {RemovalOutcome::Removed};
        error = GetLastError();
    } else {
        if (SendToRecycleBin(fullPath)) return {RemovalOutcome::SentToRecycleBin};
        // The shell tells no reason that could be trusted.
        error = ERROR_GEN_FAILURE;
    }
    SetFileAttributesW(callPath.c_str(), attributes & kSettableAttributes);
    return notRemoved(FailureFromError(error));
}
