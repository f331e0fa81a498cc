#include "app/TurboPanel.h"

#include "app/ControlIds.h"
#include "app/Look.h"

void TurboPanel::Create() {
    host_.CreatePanelWindow(window_);
    const TwipScale& scale = host_.Scale();
    lstTurbo.Create(window_.Handle(), kLstTurbo, scale.Rect(120, 1560, 4815, 2700), CheckList::Style{true},
                    host_.Font(look::kPanelFont), scale.Dpi());
    window_.Register(lstTurbo);
    ShowWindow(lstTurbo.Handle(), SW_HIDE);
}
