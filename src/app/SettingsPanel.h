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
    enum ControlId : int {
        kLstSettingsGroups = 500,
        kLstSettings,
        kCmdThemeCPLTheme,
        kCmdSettingsRefresh,
        kCmdSettingsApply,
    };

    explicit SettingsPanel(const PanelParts& parts) : Panel(parts), catalogue_(parts.settingsFile) {}

    // Lists the groups anew and the first group's tweaks with their state, each time the panel
    // is opened; ticks not yet applied are lost then.
    void Shown() override;

    // How "Change Theme" starts the display properties.
    void UseProgramStarter(ProgramStarter starter) { startProgram_ = std::move(starter); }

    // What the tests read and drive beyond the controls' ids.
    struct TestView;

private:
    void CreateControls() override;
    // Fills lstSettingsGroups from the catalogue and makes its first group current, which lists
    // that group. A catalogue that cannot be read leaves the list as it was.
    void LoadSettingsGroups();
    // Lists the tweaks of the current group, then refreshes their ticks.
    void lstSettingsGroups_Click();
    // Ticks every listed tweak by what the registry holds.
    void RefreshSettings();
    // Writes every listed tweak, ticked and cleared alike, and tells once which were not set.
    void ApplySettings();
    // The display properties are a convenience: when they cannot be started nothing else happens.
    void cmdThemeCPLTheme_Click() { OpenDisplayProperties(startProgram_); }
    std::optional<std::wstring> CurrentGroup() const;
    std::vector<TweakTick> ListedTicks() const;

    std::wstring catalogue_;
    ProgramStarter startProgram_ = StartProgram;
    HWND lstSettingsGroups_ = nullptr;
    CheckList lstSettings_;
};
