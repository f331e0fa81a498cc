#pragma once
#include "app/CheckList.h"
#include "app/Panel.h"

// The registry tweaks of the catalogue; for now its window and its tweak list.
class SettingsPanel : public Panel {
public:
    using Panel::Panel;
    void Create() override;

    CheckList lstSettings;
};
