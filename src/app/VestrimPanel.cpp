#include <windows.h>

#include "app/ControlIds.h"
#include "app/DisabledControls.h"
#include "app/ExecutableFiles.h"
#include "app/MainForm.h"
#include "history/HistoryLines.h"
#include "manifest/ManifestFile.h"
#include "manifest/ManifestForExecutable.h"
#include "platform/MessagePump.h"
#include "platform/VersionInfo.h"

namespace {

constexpr COLORREF kDarkGrey = RGB(0x40, 0x40, 0x40);
constexpr COLORREF kLightGrey = RGB(0xE0, 0xE0, 0xE0);
constexpr COLORREF kNavy = RGB(0x00, 0x00, 0x80);
constexpr COLORREF kDarkRed = RGB(0xC0, 0x00, 0x00);
constexpr COLORREF kBlack = RGB(0, 0, 0);
const FontSpec kPanelFont{L"Arial", 8.25, true, false};

// Marks the panel's action as running for its whole length, however it ends.
class RunningFlag {
public:
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningFlag() { flag_ = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

private:
    bool& flag_;
};

}  // namespace

const wchar_t MainForm::kApplyCaption[] = L"Apply XP Theme NOW!!! ";
const wchar_t MainForm::kRemoveCaption[] = L"Remove XP Theme NOW!!! ";

void MainForm::CreateVestrimPanel() {
    HWND panel = picVestrim;
    HFONT font = Font(kPanelFont);
    // Created in the panel's keyboard order; the hidden file list is no window at all.
    cmdVestrim = AddButton(panel, kApplyCaption, kCmdVestrim, kPanelFont, 120, 4200, 4815, 375);

    lstUnthemed.Create(panel, kLstUnthemed, scale_.Rect(2640, 360, 2055, 1020), CheckList::Style{},
                       font, scale_.Dpi());
    lstThemed.Create(panel, kLstThemed, scale_.Rect(2640, 1680, 2055, 1020), CheckList::Style{},
                     font, scale_.Dpi());
    checkLists_.insert(checkLists_.end(), {&lstUnthemed, &lstThemed});
    lstUnthemed.onClick = [this] { lstUnthemed_Click(); };
    lstUnthemed.onGotFocus = [this] { lstUnthemed_GotFocus(); };
    lstUnthemed.onKeyPress = [this](wchar_t key) { lstUnthemed_KeyPress(key); };
    lstThemed.onClick = [this] { lstThemed_Click(); };
    lstThemed.onGotFocus = [this] { lstThemed_GotFocus(); };
    lstThemed.onKeyPress = [this](wchar_t key) { lstThemed_KeyPress(key); };

    Drive1.Create(panel, kDrive1, scale_.Rect(120, 120, 2415, 330), font, kLightGrey, kDarkGrey);
    Dir1.Create(panel, kDir1, scale_.Rect(120, 450, 2415, 2250), font, kLightGrey, kDarkGrey);
    Drive1.onChange = [this] { Drive1_Change(); };
    Dir1.onChange = [this] { Dir1_Change(); };

    txtCompanyName = AddTextBox(panel, kTxtCompanyName, kPanelFont, kLightGrey, kDarkGrey, 1800, 2760, 3135, 315);
    txtProductName = AddTextBox(panel, kTxtProductName, kPanelFont, kLightGrey, kDarkGrey, 1800, 3120, 3135, 315);
    txtApplicationName =
        AddTextBox(panel, kTxtApplicationName, kPanelFont, kLightGrey, kDarkGrey, 1800, 3480, 3135, 315);
    txtDescription = AddTextBox(panel, kTxtDescription, kPanelFont, kLightGrey, kDarkGrey, 1800, 3840, 3135, 315);

    cmdUnThemedSelAll = AddButton(panel, L"+", kCmdUnThemedSelAll, kPanelFont, 4680, 360, 255, 495, L"Select All");
    cmdUnThemedUnSelAll =
        AddButton(panel, L"-", kCmdUnThemedUnSelAll, kPanelFont, 4680, 840, 255, 495, L"Unselect All");
    cmdThemedSelAll = AddButton(panel, L"+", kCmdThemedSelAll, kPanelFont, 4680, 1680, 255, 495, L"Select All");
    cmdThemedUnSelAll =
        AddButton(panel, L"-", kCmdThemedUnSelAll, kPanelFont, 4680, 2160, 255, 495, L"Unselect All");

    lblUnthemed = AddLabel(panel, L"UnThemed Applications", kNavy, kPanelFont, 2640, 120, 2295, 255);
    lblThemed = AddLabel(panel, L"Themed Applications", kDarkRed, kPanelFont, 2640, 1440, 2295, 255);
    lblCompanyName = AddLabel(panel, L"Company Name", kBlack, kPanelFont, 120, 2760, 1935, 255);
    lblProductName = AddLabel(panel, L"Product Name", kBlack, kPanelFont, 120, 3120, 1935, 255);
    Label2 = AddLabel(panel, L"Application Name", kBlack, kPanelFont, 120, 3480, 1935, 255);
    Label3 = AddLabel(panel, L"Description", kBlack, kPanelFont, 120, 3840, 1935, 255);
}

bool MainForm::HandleVestrimCommand(int id, WORD notification, HWND control) {
    if (control == Drive1.Handle()) {
        Drive1.Command(notification);
        return true;
    }
    if (control == Dir1.Handle()) {
        Dir1.Command(notification);
        return true;
    }
    if (notification != BN_CLICKED) return false;
    switch (id) {
        case kCmdVestrim:
            cmdVestrim_Click();
            return true;
        case kCmdUnThemedSelAll:
            cmdUnThemedSelAll_Click();
            return true;
        case kCmdUnThemedUnSelAll:
            cmdUnThemedUnSelAll_Click();
            return true;
        case kCmdThemedSelAll:
            cmdThemedSelAll_Click();
            return true;
        case kCmdThemedUnSelAll:
            cmdThemedUnSelAll_Click();
            return true;
        default:
            return false;
    }
}

std::wstring MainForm::FullPathOf(const std::wstring& fileName) const {
    // Plain concatenation: at a drive root the path holds two backslashes, as stored in history.
    return File1.Path + L"\\" + fileName;
}

void MainForm::Drive1_Change() { Dir1.SetPath(Drive1.Drive()); }

void MainForm::Dir1_Change() {
    File1.Path = Dir1.Path();
    RefreshAppLists();
}

void MainForm::RefreshAppLists() {
    lstUnthemed.Clear();
    lstThemed.Clear();
    for (HWND box : {txtDescription, txtProductName, txtCompanyName, txtApplicationName}) SetText(box, L"");
    File1.Names = ListExecutableNames(File1.Path);
    // While an apply or remove runs, its scope keeps the button disabled.
    if (!vestrimRunning_) EnableWindow(cmdVestrim, TRUE);
    if (File1.Names.empty()) {
        EnableWindow(cmdVestrim, FALSE);
        return;
    }
    for (const std::wstring& name : File1.Names) {
        CheckList& list = IsManifestPresent(ManifestPathFor(FullPathOf(name))) ? lstThemed : lstUnthemed;
        list.Add(name);
    }
    if (lstUnthemed.Count() > 0) {
        lstUnthemed.SetCurrent(0);
        lstUnthemed_GotFocus();
    } else if (lstThemed.Count() > 0) {
        lstThemed.SetCurrent(0);
        lstThemed_GotFocus();
    }
}

void MainForm::ShowFileDetails(const std::wstring& applicationName, const std::wstring& fullPath) {
    VersionInfo version;
    version.SetFileName(fullPath);
    SetText(txtDescription, version.FileDescription());
    SetText(txtProductName, version.ProductName());
    SetText(txtCompanyName, version.CompanyName());
    SetText(txtApplicationName, applicationName);
}

void MainForm::lstUnthemed_Click() {
    const int current = lstUnthemed.Current();
    if (current < 0) return;
    const std::wstring name = lstUnthemed.Text(current);
    ShowFileDetails(name, FullPathOf(name));
}

void MainForm::lstThemed_Click() { ReadManifestDetails(); }

void MainForm::lstUnthemed_GotFocus() {
    // A running apply or remove must not be started again from inside itself.
    if (vestrimRunning_) return;
    EnableWindow(cmdVestrim, lstUnthemed.Count() > 0);
    SetText(cmdVestrim, kApplyCaption);
}

void MainForm::lstThemed_GotFocus() {
    if (vestrimRunning_) return;
    EnableWindow(cmdVestrim, lstThemed.Count() > 0);
    SetText(cmdVestrim, kRemoveCaption);
}

// Any character key reloads the current item's details, except the space bar, which only ticks:
// like a click on the tick box, it leaves the user's edits alone.
void MainForm::lstUnthemed_KeyPress(wchar_t key) {
    if (key != L' ') lstUnthemed_Click();
}

void MainForm::lstThemed_KeyPress(wchar_t key) {
    if (key != L' ') lstThemed_Click();
}

// The "+" and "-" buttons: every item ticked or cleared, the focus to the list (which sets the
// button's mode), then the list's Click handling.
void MainForm::TickAllAndEnter(CheckList& list, bool ticked) {
    list.SetAllTicked(ticked);
    SetFocus(list.Handle());
}

void MainForm::cmdUnThemedSelAll_Click() {
    TickAllAndEnter(lstUnthemed, true);
    lstUnthemed_Click();
}

void MainForm::cmdUnThemedUnSelAll_Click() {
    TickAllAndEnter(lstUnthemed, false);
    lstUnthemed_Click();
}

void MainForm::cmdThemedSelAll_Click() {
    TickAllAndEnter(lstThemed, true);
    lstThemed_Click();
}

void MainForm::cmdThemedUnSelAll_Click() {
    TickAllAndEnter(lstThemed, false);
    lstThemed_Click();
}

void MainForm::cmdVestrim_Click() {
    LongAction action(*this);
    {
        // The folder cannot change under the loop, and the action cannot start inside itself.
        RunningFlag running(vestrimRunning_);
        DisabledControls disabled{cmdVestrim, OutlookBar, Drive1.Handle(), Dir1.Handle()};
        const std::wstring caption = TextOf(cmdVestrim);
        if (caption == kApplyCaption) {
            const int count = lstUnthemed.Count();
            for (int i = 0; i < count && !ShouldStop(); ++i) {
                if (!lstUnthemed.IsTicked(i)) continue;
                lstUnthemed.SetCurrent(i);
                DoEvents();
                // A file that cannot get its manifest is skipped; the refresh shows it unthemed.
                WriteManifest();
            }
            RefreshAppLists();
            SetFocus(lstUnthemed.Handle());
        } else if (caption == kRemoveCaption) {
            const int count = lstThemed.Count();
            for (int i = 0; i < count && !ShouldStop(); ++i) {
                if (!lstThemed.IsTicked(i)) continue;
                lstThemed.SetCurrent(i);
                DoEvents();
                RemoveManifest(ManifestPathFor(FullPathOf(lstThemed.Text(i))));
            }
            RefreshAppLists();
            SetFocus(lstThemed.Handle());
        }
    }
    // The focus moved while the action ran: the caption and button follow the list that has it.
    if (GetFocus() == lstUnthemed.Handle()) lstUnthemed_GotFocus();
    if (GetFocus() == lstThemed.Handle()) lstThemed_GotFocus();
}

bool MainForm::WriteManifest() {
    const int current = lstUnthemed.Current();
    if (current < 0) return false;
    const ManifestDetails details{TextOf(txtCompanyName), TextOf(txtProductName),
                                  TextOf(txtApplicationName), TextOf(txtDescription)};
    const std::wstring executable = FullPathOf(lstUnthemed.Text(current));
    if (!WriteManifestForExecutable(executable, details)) return false;
    AddToHistory(ManifestPathFor(executable), HistoryValueFor(details.product, details.description));
    return true;
}

void MainForm::ReadManifestDetails() {
    const int current = lstThemed.Current();
    const ManifestDetails details =
        current < 0 ? ManifestDetails{} : ReadManifestDetailsForExecutable(FullPathOf(lstThemed.Text(current)));
    SetText(txtCompanyName, details.company);
    SetText(txtProductName, details.product);
    SetText(txtApplicationName, details.applicationName);
    SetText(txtDescription, details.description);
}
