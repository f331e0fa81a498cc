#pragma once
#include "app/CheckList.h"
#include "app/Panel.h"

// The batch search over a folder tree; for now its window and its result list.
class TurboPanel : public Panel {
public:
    using Panel::Panel;
    void Create() override;

    CheckList lstTurbo;
};
