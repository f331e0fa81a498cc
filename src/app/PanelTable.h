#pragma once
#include <iterator>
#include <memory>

#include "app/AboutPanel.h"
#include "app/HelpPanel.h"
#include "app/HelpText.h"
#include "app/HistoryPanel.h"
#include "app/Panel.h"
#include "app/SettingsPanel.h"
#include "app/TurboPanel.h"
#include "app/VestrimPanel.h"

// One item of the Quick Menu and the panel it opens. The item's place on the strip, its icon's
// resource id (IDI_QMENU_FIRST + its row) and the help's order follow from its row.
struct PanelRow {
    // The item's tooltip, and its name for assistive technology.
    const wchar_t* tooltip;
    // The picture resources/generate_images.py draws for the item's icon; that script reads this
    // table, one row to a line, to put each row's picture under its id.
    const char* picture;
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
    {L"Vestrim", "vestrim", MakePanel<VestrimPanel>, &kVestrimHelp},
    {L"Turbo Vestrim", "turbo", MakePanel<TurboPanel>, &kTurboHelp},
    {L"History", "history", MakePanel<HistoryPanel>, &kHistoryHelp},
    {L"Settings", "settings", MakePanel<SettingsPanel>, &kSettingsHelp},
    {L"Help", "help", MakePanel<HelpPanel>, nullptr},
    {L"About", "about", MakePanel<AboutPanel>, nullptr},
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
