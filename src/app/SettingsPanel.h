#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/CheckList.h"
#include "app/Panel.h"
#include "settings/DisplayProperties.h"
#include "settings/TweakTicks.h"

// The registry tweaks of the catalogue settings.db: its groups on the left, the tweaks of the
// current group on the right, ticked where the tweak is on, and the buttons that re-read the
// registry, write it, and open the display properties.
class SettingsPanel : public Panel {
public:
    using Panel::Panel;

    void Create() override;
    // Lists the groups anew and the first group's tweaks with their state, each time the panel
    // is opened; ticks not yet applied are lost then.
    void Shown() override;

    // Fills lstSettingsGroups from the catalogue and makes its first group current, which lists
    // that group. A catalogue that cannot be read leaves the list as it was.
    void LoadSettingsGroups();
    // Lists the tweaks of the current group, then refreshes their ticks.
    void lstSettingsGroups_Click();
    // Ticks every listed tweak by what the registry holds.
    void RefreshSettings();
    // Writes every listed tweak, ticked and cleared alike.
    void ApplySettings();
    void cmdThemeCPLTheme_Click();
    void cmdSettingsRefresh_Click() { RefreshSettings(); }
    void cmdSettingsApply_Click() { ApplySettings(); }

    HWND lstSettingsGroups = nullptr;
    CheckList lstSettings;
    HWND cmdThemeCPLTheme = nullptr;
    HWND cmdSettingsRefresh = nullptr;
    HWND cmdSettingsApply = nullptr;

    // How "Change Theme" starts the display properties.
    ProgramStarter startProgram = StartProgram;

private:
    std::optional<std::wstring> CurrentGroup() const;
    std::vector<TweakTick> ListedTicks() const;
};
