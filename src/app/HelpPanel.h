#pragma once
#include <windows.h>

#include "app/Panel.h"
#include "app/SubclassedControl.h"

// The help text in a read-only box that scrolls; it keeps its place between visits.
class HelpPanel : public Panel {
public:
    enum ControlId : int { kTxtHelp = 600 };

    using Panel::Panel;

private:
    void CreateControls() override;

    SubclassedControl helpBox_;
};
