#include "manifest/ManifestFailure.h"

ManifestFailure FailureFromError(DWORD error) {
    switch (error) {
        case ERROR_SUCCESS:
            return ManifestFailure::None;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_PRIVILEGE_NOT_HELD:
            return ManifestFailure::AccessDenied;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
            return ManifestFailure::InUse;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ManifestFailure::Missing;
        case ERROR_DIRECTORY:
        case ERROR_ALREADY_EXISTS:
            return ManifestFailure::InTheWay;
        default:
            return ManifestFailure::Other;
    }
}
