#pragma once
#include "app/Panel.h"

// The help text; for now its window.
class HelpPanel : public Panel {
public:
    using Panel::Panel;
    void Create() override { host_.CreatePanelWindow(window_); }
};
