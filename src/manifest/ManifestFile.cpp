#include "manifest/ManifestFile.h"

#include <windows.h>

#include "manifest/ManifestDocument.h"
#include "manifest/RecycleBin.h"
#include "manifest/RemovalPlan.h"
#include "platform/LongPath.h"
#include "platform/PathLinks.h"
#include "platform/TextFunctions.h"
#include "platform/UniqueHandle.h"
#include "platform/WholeFile.h"

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

// Why a manifest already at the path must not be overwritten: anything but a readable file of
// the shape this program writes. Another maker's manifest is kept as a removal keeps it.
ManifestFailure RefusalToOverwrite(const std::wstring& manifestPath, DWORD attributes) {
    if (!IsFile(attributes)) return ManifestFailure::InTheWay;
    switch (ClassifyManifest(manifestPath)) {
        case ManifestKind::Unreadable:
            return ManifestFailure::InUse;
        case ManifestKind::Foreign:
            return ManifestFailure::NotOurs;
        case ManifestKind::OwnDocument:
            break;
    }
    return ManifestFailure::None;
}

}  // namespace

std::wstring ManifestPathFor(const std::wstring& executablePath) { return executablePath + L".manifest"; }

bool IsFilePresent(const std::wstring& path) { return IsFile(GetFileAttributesW(PathForFileCalls(path).c_str())); }

bool IsManifestPresent(const std::wstring& manifestPath) { return IsFilePresent(manifestPath); }

ManifestKind ClassifyManifest(const std::wstring& manifestPath) {
    const std::optional<std::string> bytes = ReadManifestFile(manifestPath);
    if (!bytes) return ManifestKind::Unreadable;
    return IsOwnManifestDocument(DecodeManifestBytes(*bytes)) ? ManifestKind::OwnDocument : ManifestKind::Foreign;
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

ManifestWrite WriteManifestFile(const std::wstring& manifestPath, std::string_view bytes, const ManifestCheck& check) {
    // Written only where the path leads as it reads, checked at that moment.
    if (PassesThroughLink(manifestPath)) return {ManifestFailure::BehindLink};
    const std::wstring target = PathForFileCalls(manifestPath);
    const DWORD previous = GetFileAttributesW(target.c_str());
    const bool replacing = previous != INVALID_FILE_ATTRIBUTES;
    if (replacing) {
        if (const ManifestFailure refusal = RefusalToOverwrite(manifestPath, previous);
            refusal != ManifestFailure::None) {
            return {refusal};
        }
    }

    TemporaryFile temporary(FolderPartOf(manifestPath));
    if (!temporary.created()) return {FailureFromError(temporary.error())};
    if (const DWORD error = temporary.Write(bytes)) return {FailureFromError(error)};
    if (check) {
        if (const DWORD refusal = check(temporary.path())) return {ManifestFailure::Rejected, refusal};
    }
    if (!SetFileAttributesW(temporary.path().c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) {
        return {FailureFromError(GetLastError())};
    }
    // A read-only manifest cannot be replaced; a hidden or system one keeps the move from nothing.
    if (replacing && !SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL)) {
        return {FailureFromError(GetLastError())};
    }
    // Where there was none, a manifest that appears meanwhile is not replaced.
    const DWORD moveFlags = MOVEFILE_WRITE_THROUGH | (replacing ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!MoveFileExW(temporary.path().c_str(), target.c_str(), moveFlags)) {
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

ManifestRemoval RemoveManifest(const std::wstring& manifestPath, const std::function<void()>& yield) {
    const auto notRemoved = [](ManifestFailure failure) { return ManifestRemoval{RemovalOutcome::NotRemoved, failure}; };
    const RemovalPlan plan = PlanManifestRemoval(manifestPath);
    if (plan.outcome == RemovalOutcome::NotRemoved) return notRemoved(plan.failure);
    const std::wstring callPath = PathForFileCalls(manifestPath);
    if (!SetFileAttributesW(callPath.c_str(), FILE_ATTRIBUTE_NORMAL)) {
        return notRemoved(FailureFromError(GetLastError()));
    }
    if (yield) yield();
    DWORD error = ERROR_SUCCESS;
    if (plan.outcome == RemovalOutcome::Removed) {
        if (DeleteFileW(callPath.c_str())) return {RemovalOutcome::Removed};
        error = GetLastError();
    } else {
        if (SendToRecycleBin(FullPathName(manifestPath).value_or(manifestPath))) {
            return {RemovalOutcome::SentToRecycleBin};
        }
        // The shell tells no reason that could be trusted.
        error = ERROR_GEN_FAILURE;
    }
    SetFileAttributesW(callPath.c_str(), plan.attributes & kSettableAttributes);
    return notRemoved(FailureFromError(error));
}
