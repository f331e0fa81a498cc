#include "app/SettingsPanel.h"

#include "app/ControlIds.h"
#include "app/Look.h"
#include "platform/MessagePump.h"
#include "settings/SettingsCatalogue.h"

void SettingsPanel::Create() {
    host_.CreatePanelWindow(window_);
    const TwipScale& scale = host_.Scale();
    // Created in the panel's keyboard order.
    lstSettingsGroups = host_.AddChild({.parent = &window_, .id = kLstSettingsGroups, .rect = {120, 120, 1335, 3885},
                                        .font = &look::kSettingsFont,
                                        .style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY |
                                                 LBS_NOINTEGRALHEIGHT},
                                       L"LISTBOX", WS_EX_CLIENTEDGE);
    window_.SetColours(lstSettingsGroups, look::kLightGrey, look::kDarkGrey);
    // The user's choice of group; a choice made in code calls the handler itself.
    window_.OnCommand(lstSettingsGroups, [this](WORD notification) {
        if (notification == LBN_SELCHANGE) lstSettingsGroups_Click();
    });

    lstSettings.Create(window_.Handle(), kLstSettings, scale.Rect(1440, 120, 3495, 3885),
                       CheckList::Style{false, look::kDarkGrey, look::kLightGrey}, host_.Font(look::kSettingsFont),
                       scale.Dpi());
    window_.Register(lstSettings);

    cmdThemeCPLTheme = host_.AddButton({.parent = &window_, .id = kCmdThemeCPLTheme, .rect = {120, 4080, 1575, 495},
                                        .font = &look::kSettingsFont, .text = L"Change Theme"});
    cmdSettingsRefresh = host_.AddButton({.parent = &window_, .id = kCmdSettingsRefresh,
                                          .rect = {1680, 4080, 1695, 495}, .font = &look::kSettingsFont,
                                          .text = L"Refresh Settings"});
    cmdSettingsApply = host_.AddButton({.parent = &window_, .id = kCmdSettingsApply, .rect = {3360, 4080, 1575, 495},
                                        .font = &look::kSettingsFont, .text = L"Apply Changes"});
    window_.OnClick(cmdThemeCPLTheme, [this] { cmdThemeCPLTheme_Click(); });
    window_.OnClick(cmdSettingsRefresh, [this] { cmdSettingsRefresh_Click(); });
    window_.OnClick(cmdSettingsApply, [this] { cmdSettingsApply_Click(); });
}

// The Quick Menu holds the long-action guard around this step, so a close during the yield
// waits until the group has been listed again.
void SettingsPanel::Shown() {
    LoadSettingsGroups();
    DoEvents();
    lstSettingsGroups_Click();
}

void SettingsPanel::LoadSettingsGroups() {
    const std::optional<std::vector<std::wstring>> groups = ListSettingsGroups(host_.SettingsFilePath());
    if (!groups) return;
    SendMessageW(lstSettingsGroups, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& group : *groups) {
        SendMessageW(lstSettingsGroups, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(group.c_str()));
    }
    // Selecting in code raises no notification; without groups there is nothing to select and
    // the tweak list empties.
    SendMessageW(lstSettingsGroups, LB_SETCURSEL, 0, 0);
    lstSettingsGroups_Click();
}

std::optional<std::wstring> SettingsPanel::CurrentGroup() const {
    const LRESULT current = SendMessageW(lstSettingsGroups, LB_GETCURSEL, 0, 0);
    if (current == LB_ERR) return std::nullopt;
    const LRESULT length = SendMessageW(lstSettingsGroups, LB_GETTEXTLEN, current, 0);
    if (length == LB_ERR) return std::nullopt;
    std::wstring group(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(lstSettingsGroups, LB_GETTEXT, current, reinterpret_cast<LPARAM>(group.data()));
    group.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return group;
}

std::vector<TweakTick> SettingsPanel::ListedTicks() const {
    std::vector<TweakTick> ticks;
    ticks.reserve(static_cast<size_t>(lstSettings.Count()));
    for (int i = 0; i < lstSettings.Count(); ++i) ticks.push_back({lstSettings.Text(i), lstSettings.IsTicked(i)});
    return ticks;
}

void SettingsPanel::lstSettingsGroups_Click() {
    lstSettings.Clear();
    const std::optional<std::wstring> group = CurrentGroup();
    if (!group) return;
    lstSettings.AddMany(ListGroupTweaks(host_.SettingsFilePath(), *group));
    RefreshSettings();
}

void SettingsPanel::RefreshSettings() {
    const std::optional<std::wstring> group = CurrentGroup();
    if (!group || lstSettings.Count() == 0) return;
    const std::vector<TweakTick> ticks = RefreshTweakTicks(host_.SettingsFilePath(), *group, ListedTicks());
    for (size_t i = 0; i < ticks.size(); ++i) lstSettings.SetTicked(static_cast<int>(i), ticks[i].ticked);
}

void SettingsPanel::ApplySettings() {
    const std::optional<std::wstring> group = CurrentGroup();
    if (!group) return;
    ApplyTweakTicks(host_.SettingsFilePath(), *group, ListedTicks());
}

// The display properties are a convenience: when they cannot be started nothing else happens.
void SettingsPanel::cmdThemeCPLTheme_Click() { OpenDisplayProperties(startProgram); }
