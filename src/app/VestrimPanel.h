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
    enum ControlId : int {
        kDrive1 = 200,
        kDir1,
        kLstUnthemed,
        kCmdUnThemedSelAll,
        kCmdUnThemedUnSelAll,
        kLstThemed,
        kCmdThemedSelAll,
        kCmdThemedUnSelAll,
        kTxtCompanyName,
        kTxtProductName,
        kTxtApplicationName,
        kTxtDescription,
        kCmdVestrim,
        kLblUnthemed,
        kLblThemed,
        kLblCompanyName,
        kLblProductName,
        kLabel2,
        kLabel3,
    };

    // What the action button does: theme the ticked unthemed programs, or remove the manifests
    // of the ticked themed ones; the list that last took the focus sets it.
    enum class Mode { Apply, Remove };

    explicit VestrimPanel(const PanelParts& parts) : Panel(parts), theming_(parts.theming) {}

    void Shown() override { RefreshAppLists(); }

    // Shows the folder's executables; before the panel is first shown, the folder it opens on.
    void OpenFolder(const std::wstring& folder);

    // What the tests read and drive beyond the controls' ids.
    struct TestView;

private:
    // The hidden file list: the current folder's executables.
    struct FileList {
        std::wstring Path;
        std::vector<std::wstring> Names;
    };

    void CreateControls() override;
    void Drive1_Change();
    void Dir1_Change();
    class ActionDisplay;

    void RefreshAppLists();
    void lstUnthemed_Click();
    void lstUnthemed_GotFocus();
    void lstUnthemed_KeyPress(wchar_t key);
    void lstThemed_Click();
    void lstThemed_GotFocus();
    void lstThemed_KeyPress(wchar_t key);
    void SetMode(Mode mode);
    void cmdVestrim_Click();
    // The "+" and "-" buttons: every item of the list ticked or cleared, the focus to the list
    // (which sets the button's mode), then the list's Click handling.
    void TickAllAndEnter(CheckList& list, bool ticked);
    ManifestDetails BoxDetails() const;
    void ShowDetails(const ManifestDetails& details);
    // What the own manifest of the list's current program means; empty when it carries none.
    std::wstring OwnManifestTooltipOf(const CheckList& list) const;
    // Fills the four detail boxes from the manifest of lstThemed's current item; empty boxes
    // when there is none or it cannot be read.
    void ReadManifestDetails();
    std::wstring FullPathOf(const std::wstring& fileName) const;
    HWND AddDetailBox(int id, int top);
    HWND AddSignButton(const wchar_t* sign, int id, int top, const wchar_t* tooltip, CheckList& list, bool ticked);
    HWND AddCaption(int id, const wchar_t* text, COLORREF colour, int left, int top, int width);

    ThemingService& theming_;
    // The folder the lists open on when the panel is made; empty: the current directory.
    std::wstring startFolder_;
    DriveList Drive1_;
    DirectoryList Dir1_;
    FileList File1_;
    CheckList lstUnthemed_;
    CheckList lstThemed_;
    HWND txtCompanyName_ = nullptr;
    HWND txtProductName_ = nullptr;
    HWND txtApplicationName_ = nullptr;
    HWND txtDescription_ = nullptr;
    HWND cmdVestrim_ = nullptr;
    Mode mode_ = Mode::Apply;
    // While the button's action runs: it must not start again from inside itself, and the
    // lists' focus handling must leave the button alone.
    bool running_ = false;
};
