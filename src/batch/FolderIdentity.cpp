#include "batch/FolderIdentity.h"

#include <windows.h>
#include <winternl.h>

#include "platform/LongPath.h"
#include "platform/UniqueHandle.h"

namespace {

UniqueHandle OpenFolder(const std::wstring& directory) {
    return UniqueHandle(CreateFileW(PathForFileCalls(directory).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// The index alone, as the file system keeps it: GetFileInformationByHandle would also ask for the
// volume serial, which costs more than listing a folder where volumes are emulated.
std::optional<uint64_t> FileIndexOf(HANDLE folder) {
    using QueryInformationFile = NTSTATUS(NTAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, FILE_INFORMATION_CLASS);
    static const auto query = reinterpret_cast<QueryInformationFile>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
    if (query == nullptr) return std::nullopt;
    IO_STATUS_BLOCK status{};
    LARGE_INTEGER index{};
    if (!NT_SUCCESS(query(folder, &status, &index, sizeof index, FileInternalInformation))) return std::nullopt;
    // Some file systems give no index at all.
    if (index.QuadPart == 0) return std::nullopt;
    return static_cast<uint64_t>(index.QuadPart);
}

}  // namespace

std::optional<FolderIdentity> FolderIdentity::Of(const std::wstring& directory) {
    const UniqueHandle folder = OpenFolder(directory);
    if (!folder) return std::nullopt;
    const std::optional<uint64_t> index = FileIndexOf(folder.get());
    if (!index) return std::nullopt;
    return FolderIdentity(directory, *index);
}

bool FolderIdentity::SameAs(const FolderIdentity& other) const {
    if (index_ != other.index_) return false;
    const std::optional<uint32_t> mine = VolumeSerial();
    const std::optional<uint32_t> theirs = other.VolumeSerial();
    return !mine || !theirs || *mine == *theirs;
}

std::optional<uint32_t> FolderIdentity::VolumeSerial() const {
    if (!serial_) {
        const UniqueHandle folder = OpenFolder(directory_);
        BY_HANDLE_FILE_INFORMATION information{};
        serial_ = folder && GetFileInformationByHandle(folder.get(), &information)
                      ? std::optional<uint32_t>(information.dwVolumeSerialNumber)
                      : std::nullopt;
    }
    return *serial_;
}
