#pragma once
#include <windows.h>

#include <initializer_list>
#include <utility>
#include <vector>

// Disables controls for the length of an action and gives each back the state it had, however
// the action ends.
class DisabledControls {
public:
    DisabledControls(std::initializer_list<HWND> controls) {
        for (HWND control : controls) {
            // EnableWindow tells whether the control was disabled already.
            const bool wasDisabled = EnableWindow(control, FALSE) != FALSE;
            controls_.emplace_back(control, !wasDisabled);
        }
    }
    ~DisabledControls() {
        for (const auto& [control, wasEnabled] : controls_) EnableWindow(control, wasEnabled ? TRUE : FALSE);
    }
    DisabledControls(const DisabledControls&) = delete;
    DisabledControls& operator=(const DisabledControls&) = delete;

private:
    std::vector<std::pair<HWND, bool>> controls_;
};
