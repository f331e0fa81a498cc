#pragma once
#include <windows.h>

#include <string>

#include "app/ControlFactory.h"
#include "app/PanelHost.h"
#include "app/PanelWindow.h"

class HistoryStore;
class ThemingService;

// What the window gives its panels; each takes what it uses.
struct PanelParts {
    PanelHost& host;
    ControlFactory& controls;
    HistoryStore& history;
    ThemingService& theming;
    std::wstring settingsFile;  // the tweak catalogue
};

// Where the panels lie on the window, and their background.
struct PanelPlace {
    RECT rect;
    PanelWindow::Look look;
};

// One of the panels of the window: its own window, its controls and their handlers. The window
// and the controls are made when the panel is first shown.
class Panel {
public:
    explicit Panel(const PanelParts& parts) : host_(parts.host), controls_(parts.controls) {}
    virtual ~Panel() = default;
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // Builds the panel's window, hidden, and its controls in their keyboard order; once.
    void Create(HWND form, const PanelPlace& place);
    // Runs each time the Quick Menu shows the panel, after it became visible.
    virtual void Shown() {}

    // Null until the panel is first shown.
    HWND Window() const { return window_.Handle(); }

protected:
    virtual void CreateControls() = 0;

    PanelHost& host_;
    ControlFactory& controls_;
    PanelWindow window_;
};
