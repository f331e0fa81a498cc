#include "manifest/ManifestFile.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "manifest/ManifestDocument.h"
#include "platform/LongPath.h"
#include "platform/MessagePump.h"
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

std::wstring FolderOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? L"." : path.substr(0, separator + 1);
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

// A temporary file that is deleted again unless it was kept.
class TemporaryFile {
public:
    // Creates an empty, uniquely named file in the folder; check created() before use.
    explicit TemporaryFile(const std::wstring& folder) {
        std::vector<wchar_t> name(MAX_PATH + 1, L'\0');
        if (GetTempFileNameW(folder.c_str(), L"xpv", 0, name.data()) != 0) path_ = name.data();
    }
    ~TemporaryFile() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool created() const { return !path_.empty(); }
    const std::wstring& path() const { return path_; }
    void keep() { path_.clear(); }

private:
    std::wstring path_;
};

bool WriteWholeFile(const std::wstring& path, std::string_view bytes) {
    const UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return FlushFileBuffers(file.get()) != FALSE;
}

enum class ManifestKind { Unreadable, OwnDocument, Foreign };

ManifestKind ClassifyManifest(const std::wstring& manifestPath) {
    const std::optional<std::string> bytes = ReadManifestFile(manifestPath);
    if (!bytes) return ManifestKind::Unreadable;
    return IsOwnManifestDocument(DecodeManifestBytes(*bytes)) ? ManifestKind::OwnDocument : ManifestKind::Foreign;
}

// Local fixed drives keep a Recycle Bin; removable, network, optical and RAM drives do not, and
// there the shell would delete the file outright instead.
bool HasRecycleBin(const std::wstring& fullPath) {
    std::vector<wchar_t> root(fullPath.size() + 2, L'\0');
    if (!GetVolumePathNameW(fullPath.c_str(), root.data(), static_cast<DWORD>(root.size()))) return false;
    return GetDriveTypeW(root.data()) == DRIVE_FIXED;
}

bool SendToRecycleBin(const std::wstring& fullPath) {
    std::wstring from = fullPath;
    from.push_back(L'\0');  // the list of paths ends with an empty one
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted &&
           GetFileAttributesW(fullPath.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::wstring ManifestPathFor(const std::wstring& executablePath) { return executablePath + L".manifest"; }

bool IsManifestPresent(const std::wstring& manifestPath) {
    return IsFile(GetFileAttributesW(PathForFileCalls(manifestPath).c_str()));
}

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

bool WriteManifestFile(const std::wstring& manifestPath, std::string_view bytes) {
    const DWORD previous = GetFileAttributesW(manifestPath.c_str());
    const bool replacing = previous != INVALID_FILE_ATTRIBUTES;
    if (replacing && !IsFile(previous)) return false;

    TemporaryFile temporary(FolderOf(manifestPath));
    if (!temporary.created() || !WriteWholeFile(temporary.path(), bytes) ||
        !SetFileAttributesW(temporary.path().c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) {
        return false;
    }
    // A read-only manifest cannot be replaced; a hidden or system one keeps the move from nothing.
    if (replacing && !SetFileAttributesW(manifestPath.c_str(), FILE_ATTRIBUTE_NORMAL)) return false;
    if (!MoveFileExW(temporary.path().c_str(), manifestPath.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        if (replacing) SetFileAttributesW(manifestPath.c_str(), previous & kSettableAttributes);
        return false;
    }
    temporary.keep();
    return true;
}

RemovalOutcome RemoveManifest(const std::wstring& manifestPath) {
    const std::wstring callPath = PathForFileCalls(manifestPath);
    const DWORD attributes = GetFileAttributesW(callPath.c_str());
    if (!IsFile(attributes)) return RemovalOutcome::NotRemoved;
    const ManifestKind kind = ClassifyManifest(manifestPath);
    if (kind == ManifestKind::Unreadable) return RemovalOutcome::NotRemoved;
    const std::wstring fullPath = FullPathOf(manifestPath);
    if (kind == ManifestKind::Foreign && !HasRecycleBin(fullPath)) return RemovalOutcome::NotRemoved;

    if (!SetFileAttributesW(callPath.c_str(), FILE_ATTRIBUTE_NORMAL)) return RemovalOutcome::NotRemoved;
    DoEvents();
    if (kind == ManifestKind::OwnDocument) {
        if (DeleteFileW(callPath.c_str())) return RemovalOutcome::Removed;
    } else if (SendToRecycleBin(fullPath)) {
        return RemovalOutcome::SentToRecycleBin;
    }
    SetFileAttributesW(callPath.c_str(), attributes & kSettableAttributes);
    return RemovalOutcome::NotRemoved;
}
