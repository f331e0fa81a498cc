#include "app/SettingsPanel.h"

#include "app/ListScrollWidths.h"
#include "app/Look.h"
#include "app/MessagePump.h"
#include "settings/SettingsCatalogue.h"
#include "settings/TweakStatusText.h"

void SettingsPanel::CreateControls() {
    // Created in the panel's keyboard order.
    lstSettingsGroups_ = controls_.AddChild({.parent = &window_, .id = kLstSettingsGroups,
                                             .rect = {120, 120, 1335, 3885}, .font = &look::kSettingsFont,
                                             .style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY |
                                                      LBS_NOINTEGRALHEIGHT},
                                            L"LISTBOX", WS_EX_CLIENTEDGE);
    window_.SetColours(lstSettingsGroups_, look::kLightGrey, look::kDarkGrey);
    // The user's choice of group; a choice made in code calls the handler itself.
    window_.OnCommand(lstSettingsGroups_, [this](WORD notification) {
        if (notification == LBN_SELCHANGE) lstSettingsGroups_Click();
    });

    controls_.AddCheckList(lstSettings_, {.parent = &window_, .id = kLstSettings, .rect = {1440, 120, 3495, 3885},
                                          .font = &look::kSettingsFont, .textColour = look::kDarkGrey,
                                          .backColour = look::kLightGrey});
    FitScrollWidthToSample(lstSettings_, controls_.Scale());

    const auto addButton = [this](int id, const TwipRect& rect, const wchar_t* caption, std::function<void()> onClick) {
        controls_.AddButton({.parent = &window_, .id = id, .rect = rect, .font = &look::kSettingsFont, .text = caption,
                             .onClick = std::move(onClick)});
    };
    addButton(kCmdThemeCPLTheme, {120, 4080, 1575, 495}, L"Change Theme", [this] { cmdThemeCPLTheme_Click(); });
    addButton(kCmdSettingsRefresh, {1680, 4080, 1695, 495}, L"Refresh Settings", [this] { RefreshSettings(); });
    addButton(kCmdSettingsApply, {3360, 4080, 1575, 495}, L"Apply Changes", [this] { ApplySettings(); });
}

// The Quick Menu holds the long-action guard around this step, so a close during the yield
// waits until the group has been listed again.
void SettingsPanel::Shown() {
    LoadSettingsGroups();
    DoEvents();
    lstSettingsGroups_Click();
}

void SettingsPanel::LoadSettingsGroups() {
    const std::optional<std::vector<std::wstring>> groups = ListSettingsGroups(catalogue_);
    if (!groups) return;
    SendMessageW(lstSettingsGroups_, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& group : *groups) {
        SendMessageW(lstSettingsGroups_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(group.c_str()));
    }
    // Selecting in code raises no notification; without groups there is nothing to select and
    // the tweak list empties.
    SendMessageW(lstSettingsGroups_, LB_SETCURSEL, 0, 0);
    lstSettingsGroups_Click();
}

std::optional<std::wstring> SettingsPanel::CurrentGroup() const {
    const LRESULT current = SendMessageW(lstSettingsGroups_, LB_GETCURSEL, 0, 0);
    if (current == LB_ERR) return std::nullopt;
    const LRESULT length = SendMessageW(lstSettingsGroups_, LB_GETTEXTLEN, current, 0);
    if (length == LB_ERR) return std::nullopt;
    std::wstring group(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(lstSettingsGroups_, LB_GETTEXT, current, reinterpret_cast<LPARAM>(group.data()));
    group.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return group;
}

std::vector<TweakTick> SettingsPanel::ListedTicks() const {
    std::vector<TweakTick> ticks;
    ticks.reserve(static_cast<size_t>(lstSettings_.Count()));
    for (int i = 0; i < lstSettings_.Count(); ++i) ticks.push_back({lstSettings_.Text(i), lstSettings_.IsTicked(i)});
    return ticks;
}

void SettingsPanel::lstSettingsGroups_Click() {
    lstSettings_.Clear();
    const std::optional<std::wstring> group = CurrentGroup();
    if (!group) return;
    lstSettings_.AddMany(ListGroupTweaks(catalogue_, *group));
    RefreshSettings();
}

void SettingsPanel::RefreshSettings() {
    const std::optional<std::wstring> group = CurrentGroup();
    if (!group || lstSettings_.Count() == 0) return;
    const std::vector<TweakTick> ticks = RefreshTweakTicks(catalogue_, *group, ListedTicks());
    for (size_t i = 0; i < ticks.size(); ++i) lstSettings_.SetTicked(static_cast<int>(i), ticks[i].ticked);
}

void SettingsPanel::ApplySettings() {
    const std::optional<std::wstring> group = CurrentGroup();
    if (!group) return;
    // The ticks stay as the user set them, also where a tweak was not set: the message says so.
    const std::wstring report = TweaksNotSetReport(ApplyTweakTicks(catalogue_, *group, ListedTicks()));
    if (!report.empty()) host_.ShowMessage(report);
}
