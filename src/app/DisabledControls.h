#pragma once
#include <windows.h>

#include <initializer_list>
#include <vector>

// Disables controls for the length of an action and enables them again however it ends.
class DisabledControls {
public:
    DisabledControls(std::initializer_list<HWND> controls) : controls_(controls) {
        for (HWND control : controls_) EnableWindow(control, FALSE);
    }
    ~DisabledControls() {
        for (HWND control : controls_) EnableWindow(control, TRUE);
    }
    DisabledControls(const DisabledControls&) = delete;
    DisabledControls& operator=(const DisabledControls&) = delete;

private:
    std::vector<HWND> controls_;
};
