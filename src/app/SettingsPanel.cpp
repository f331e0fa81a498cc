#include "app/SettingsPanel.h"

#include "app/ControlIds.h"
#include "app/Look.h"

void SettingsPanel::Create() {
    host_.CreatePanelWindow(window_);
    const TwipScale& scale = host_.Scale();
    lstSettings.Create(window_.Handle(), kLstSettings, scale.Rect(1440, 120, 3495, 3885), CheckList::Style{false},
                       host_.Font(look::kSettingsFont), scale.Dpi());
    window_.Register(lstSettings);
}
