#pragma once
#include <windows.h>

#include "app/Panel.h"
#include "app/SubclassedControl.h"

// The help text in a read-only box that scrolls; it keeps its place between visits.
class HelpPanel : public Panel {
public:
    using Panel::Panel;
    void Create() override;

    HWND txtHelp = nullptr;

private:
    SubclassedControl helpBox_;
};
