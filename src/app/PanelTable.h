#pragma once
#include <iterator>
#include <memory>

#include "app/AboutPanel.h"
#include "app/HelpPanel.h"
#include "app/HelpText.h"
#include "app/HistoryPanel.h"
#include "app/Panel.h"
#include "app/ResourceIds.h"
#include "app/SettingsPanel.h"
#include "app/TurboPanel.h"
#include "app/VestrimPanel.h"

// One item of the Quick Menu and the panel it opens.
struct PanelRow {
    const wchar_t* tooltip;
    int icon;  // the item's icon in the resources
    std::unique_ptr<Panel> (*make)(const PanelParts& parts);
    // The help's section on the panel (the sections follow this table's order); nullptr: none.
    const HelpLines* help;
};

template <class P>
std::unique_ptr<Panel> MakePanel(const PanelParts& parts) {
    return std::make_unique<P>(parts);
}

// The Quick Menu's items from the top of the strip down; the first opens when the window starts.
inline constexpr PanelRow kPanels[] = {
    {L"Vestrim", IDI_QMENU_VESTRIM, MakePanel<VestrimPanel>, &kVestrimHelp},
    {L"Turbo Vestrim", IDI_QMENU_TURBO, MakePanel<TurboPanel>, &kTurboHelp},
    {L"History", IDI_QMENU_HISTORY, MakePanel<HistoryPanel>, &kHistoryHelp},
    {L"Settings", IDI_QMENU_SETTINGS, MakePanel<SettingsPanel>, &kSettingsHelp},
    {L"Help", IDI_QMENU_HELP, MakePanel<HelpPanel>, nullptr},
    {L"About", IDI_QMENU_ABOUT, MakePanel<AboutPanel>, nullptr},
};
inline constexpr size_t kPanelCount = std::size(kPanels);

// The row of the panel of class P.
template <class P>
consteval size_t PanelIndex() {
    for (size_t index = 0; index < kPanelCount; ++index) {
        if (kPanels[index].make == MakePanel<P>) return index;
    }
    throw "no row of the panel table makes this panel";
}
