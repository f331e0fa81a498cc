#pragma once
#include "app/Panel.h"

// Title, version and links; for now its window.
class AboutPanel : public Panel {
public:
    using Panel::Panel;
    void Create() override { host_.CreatePanelWindow(window_); }
};
