#pragma once
#include <windows.h>

// While alive, a drive without a medium or an unreachable drive makes file functions fail with
// an error code instead of raising the system's "not ready" box.
class QuietDriveErrors {
public:
    QuietDriveErrors();
    ~QuietDriveErrors();
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

private:
    UINT previousMode_;
};
