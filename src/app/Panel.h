#pragma once
#include <windows.h>

#include "app/PanelHost.h"
#include "app/PanelWindow.h"

// One of the six panels of the window: its own window, its controls and their handlers.
class Panel {
public:
    explicit Panel(PanelHost& host) : host_(host) {}
    virtual ~Panel() = default;
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // Builds the panel's window, hidden, and its controls in their keyboard order.
    virtual void Create() = 0;
    // Runs each time the Quick Menu shows the panel, after it became visible.
    virtual void Shown() {}

    HWND Window() const { return window_.Handle(); }

protected:
    PanelHost& host_;
    PanelWindow window_;
};
