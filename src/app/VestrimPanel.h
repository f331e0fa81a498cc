#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "app/CheckList.h"
#include "app/DirectoryList.h"
#include "app/DriveList.h"
#include "app/Panel.h"
#include "theming/ThemingService.h"

// The panel the user sees first: one folder's executables split between those without a manifest
// and those with one, the four details of the current one, and one button that themes the ticked
// unthemed files or removes the manifests of the ticked themed ones.
class VestrimPanel : public Panel {
public:
    VestrimPanel(PanelHost& host, ThemingService& theming) : Panel(host), theming_(theming) {}

    void Create() override;
    void Shown() override { RefreshAppLists(); }

    void Drive1_Change();
    void Dir1_Change();
    void RefreshAppLists();
    void ShowFileDetails(const std::wstring& applicationName, const std::wstring& fullPath);
    void lstUnthemed_Click();
    void lstUnthemed_GotFocus();
    void lstUnthemed_KeyPress(wchar_t key);
    void lstThemed_Click();
    void lstThemed_GotFocus();
    void lstThemed_KeyPress(wchar_t key);
    void cmdVestrim_Click();
    void cmdUnThemedSelAll_Click();
    void cmdUnThemedUnSelAll_Click();
    void cmdThemedSelAll_Click();
    void cmdThemedUnSelAll_Click();
    // Writes the manifest of lstUnthemed's current item from the four detail boxes; it is recorded
    // in the history only when it was written.
    ThemingService::ThemeOutcome WriteManifest();
    // Fills the four detail boxes from the manifest of lstThemed's current item; empty boxes
    // when there is none or it cannot be read.
    void ReadManifestDetails();

    static const wchar_t kApplyCaption[];
    static const wchar_t kRemoveCaption[];

    // The hidden file list: the current folder's executables.
    struct FileList {
        std::wstring Path;
        std::vector<std::wstring> Names;
    };

    DriveList Drive1;
    DirectoryList Dir1;
    FileList File1;
    HWND lblUnthemed = nullptr;
    CheckList lstUnthemed;
    HWND cmdUnThemedSelAll = nullptr;
    HWND cmdUnThemedUnSelAll = nullptr;
    HWND lblThemed = nullptr;
    CheckList lstThemed;
    HWND cmdThemedSelAll = nullptr;
    HWND cmdThemedUnSelAll = nullptr;
    HWND lblCompanyName = nullptr;
    HWND txtCompanyName = nullptr;
    HWND lblProductName = nullptr;
    HWND txtProductName = nullptr;
    HWND Label2 = nullptr;
    HWND txtApplicationName = nullptr;
    HWND Label3 = nullptr;
    HWND txtDescription = nullptr;
    HWND cmdVestrim = nullptr;

private:
    std::wstring FullPathOf(const std::wstring& fileName) const;
    void TickAllAndEnter(CheckList& list, bool ticked);
    HWND AddDetailBox(int id, int top);
    HWND AddSignButton(const wchar_t* sign, int id, int top, const wchar_t* tooltip);
    HWND AddCaption(const wchar_t* text, COLORREF colour, int left, int top, int width);

    ThemingService& theming_;
    // While the button's action runs: it must not start again from inside itself, and the
    // lists' focus handling must leave the button alone.
    bool running_ = false;
};
