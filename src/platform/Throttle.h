#pragma once
#include <windows.h>

// Lets something happen the first time it is asked, then at most once per interval: repaints and
// full message runs inside loops that would otherwise do them at every step.
class Throttle {
public:
    explicit Throttle(DWORD intervalMs) : interval_(intervalMs) {}

    bool Due() {
        const DWORD now = GetTickCount();
        if (passed_ && now - last_ < interval_) return false;
        passed_ = true;
        last_ = now;
        return true;
    }

private:
    DWORD interval_;
    DWORD last_ = 0;
    bool passed_ = false;
};
