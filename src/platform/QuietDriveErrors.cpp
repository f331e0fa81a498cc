#include "platform/QuietDriveErrors.h"

namespace {

// XP has no GetErrorMode: setting a mode is the only way to learn the previous one.
UINT AddErrorModeFlags(UINT flags) {
    const UINT previous = SetErrorMode(flags);
    SetErrorMode(previous | flags);
    return previous;
}

}  // namespace

QuietDriveErrors::QuietDriveErrors()
    : previousMode_(AddErrorModeFlags(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}

QuietDriveErrors::~QuietDriveErrors() { SetErrorMode(previousMode_); }
