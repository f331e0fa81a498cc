#include "app/VestrimPanel.h"

#include <initializer_list>

#include "app/ControlIds.h"
#include "app/DisabledControls.h"
#include "app/ExecutableFiles.h"
#include "app/Look.h"
#include "app/WindowText.h"
#include "manifest/ManifestFile.h"
#include "manifest/ManifestForExecutable.h"
#include "platform/MessagePump.h"
#include "platform/VersionInfo.h"

namespace {

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

// Keeps lists from drawing and from fitting their scroll bars while they are emptied and filled
// again; each catches up once, at the end.
class RedrawPaused {
public:
    explicit RedrawPaused(std::initializer_list<HWND> lists) : lists_(lists) {
        for (HWND list : lists_) SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawPaused() {
        for (HWND list : lists_) {
            SendMessageW(list, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(list, nullptr, TRUE);
        }
    }
    RedrawPaused(const RedrawPaused&) = delete;
    RedrawPaused& operator=(const RedrawPaused&) = delete;

private:
    std::vector<HWND> lists_;
};

}  // namespace

const wchar_t VestrimPanel::kApplyCaption[] = L"Apply XP Theme NOW!!! ";
const wchar_t VestrimPanel::kRemoveCaption[] = L"Remove XP Theme NOW!!! ";

HWND VestrimPanel::AddDetailBox(int id, int top) {
    return host_.AddTextBox({.parent = &window_, .id = id, .rect = {1800, top, 3135, 315}, .font = &look::kPanelFont,
                             .textColour = look::kLightGrey, .backColour = look::kDarkGrey});
}

HWND VestrimPanel::AddSignButton(const wchar_t* sign, int id, int top, const wchar_t* tooltip) {
    return host_.AddButton({.parent = &window_, .id = id, .rect = {4680, top, 255, 495}, .font = &look::kPanelFont,
                            .text = sign, .tooltip = tooltip});
}

HWND VestrimPanel::AddCaption(const wchar_t* text, COLORREF colour, int left, int top, int width) {
    return host_.AddLabel({.parent = &window_, .rect = {left, top, width, 255}, .font = &look::kPanelFont,
                           .text = text, .textColour = colour});
}

void VestrimPanel::Create() {
    host_.CreatePanelWindow(window_);
    const TwipScale& scale = host_.Scale();
    HWND panel = window_.Handle();
    HFONT font = host_.Font(look::kPanelFont);
    // Created in the panel's keyboard order; the hidden file list is no window at all.
    cmdVestrim = host_.AddButton({.parent = &window_, .id = kCmdVestrim, .rect = {120, 4200, 4815, 375},
                                  .font = &look::kPanelFont, .text = kApplyCaption});
    window_.OnClick(cmdVestrim, [this] { cmdVestrim_Click(); });

    lstUnthemed.Create(panel, kLstUnthemed, scale.Rect(2640, 360, 2055, 1020), CheckList::Style{}, font,
                       scale.Dpi());
    lstThemed.Create(panel, kLstThemed, scale.Rect(2640, 1680, 2055, 1020), CheckList::Style{}, font, scale.Dpi());
    window_.Register(lstUnthemed);
    window_.Register(lstThemed);
    lstUnthemed.onClick = [this] { lstUnthemed_Click(); };
    lstUnthemed.onGotFocus = [this] { lstUnthemed_GotFocus(); };
    lstUnthemed.onKeyPress = [this](wchar_t key) { lstUnthemed_KeyPress(key); };
    lstThemed.onClick = [this] { lstThemed_Click(); };
    lstThemed.onGotFocus = [this] { lstThemed_GotFocus(); };
    lstThemed.onKeyPress = [this](wchar_t key) { lstThemed_KeyPress(key); };

    Drive1.Create(panel, kDrive1, scale.Rect(120, 120, 2415, 330), font, look::kLightGrey, look::kDarkGrey);
    Dir1.Create(panel, kDir1, scale.Rect(120, 450, 2415, 2250), font, look::kLightGrey, look::kDarkGrey);
    window_.Register(Drive1);
    window_.Register(Dir1);
    Drive1.onChange = [this] { Drive1_Change(); };
    Dir1.onChange = [this] { Dir1_Change(); };

    txtCompanyName = AddDetailBox(kTxtCompanyName, 2760);
    txtProductName = AddDetailBox(kTxtProductName, 3120);
    txtApplicationName = AddDetailBox(kTxtApplicationName, 3480);
    txtDescription = AddDetailBox(kTxtDescription, 3840);

    cmdUnThemedSelAll = AddSignButton(L"+", kCmdUnThemedSelAll, 360, L"Select All");
    cmdUnThemedUnSelAll = AddSignButton(L"-", kCmdUnThemedUnSelAll, 840, L"Unselect All");
    cmdThemedSelAll = AddSignButton(L"+", kCmdThemedSelAll, 1680, L"Select All");
    cmdThemedUnSelAll = AddSignButton(L"-", kCmdThemedUnSelAll, 2160, L"Unselect All");
    window_.OnClick(cmdUnThemedSelAll, [this] { cmdUnThemedSelAll_Click(); });
    window_.OnClick(cmdUnThemedUnSelAll, [this] { cmdUnThemedUnSelAll_Click(); });
    window_.OnClick(cmdThemedSelAll, [this] { cmdThemedSelAll_Click(); });
    window_.OnClick(cmdThemedUnSelAll, [this] { cmdThemedUnSelAll_Click(); });

    lblUnthemed = AddCaption(L"UnThemed Applications", look::kNavy, 2640, 120, 2295);
    lblThemed = AddCaption(L"Themed Applications", look::kDarkRed, 2640, 1440, 2295);
    lblCompanyName = AddCaption(L"Company Name", look::kBlack, 120, 2760, 1935);
    lblProductName = AddCaption(L"Product Name", look::kBlack, 120, 3120, 1935);
    Label2 = AddCaption(L"Application Name", look::kBlack, 120, 3480, 1935);
    Label3 = AddCaption(L"Description", look::kBlack, 120, 3840, 1935);
}

std::wstring VestrimPanel::FullPathOf(const std::wstring& fileName) const {
    // Plain concatenation: at a drive root the path holds two backslashes, as stored in history.
    return File1.Path + L"\\" + fileName;
}

void VestrimPanel::Drive1_Change() { Dir1.SetPath(Drive1.Drive()); }

void VestrimPanel::Dir1_Change() {
    File1.Path = Dir1.Path();
    RefreshAppLists();
}

void VestrimPanel::RefreshAppLists() {
    {
        const RedrawPaused paused{lstUnthemed.Handle(), lstThemed.Handle()};
        lstUnthemed.Clear();
        lstThemed.Clear();
        for (HWND box : {txtDescription, txtProductName, txtCompanyName, txtApplicationName}) SetText(box, L"");
        // The listing that finds the executables also tells which have manifests: asking for each
        // manifest by name would cost a search of the whole folder for every one that is missing.
        ExecutableListing listing = ListExecutables(File1.Path);
        File1.Names = std::move(listing.names);
        // While an apply or remove runs, its scope keeps the button disabled.
        if (!running_) EnableWindow(cmdVestrim, TRUE);
        if (File1.Names.empty()) {
            EnableWindow(cmdVestrim, FALSE);
            return;
        }
        std::vector<std::wstring> unthemed, themed;
        for (const std::wstring& name : File1.Names) (listing.HasManifest(name) ? themed : unthemed).push_back(name);
        lstUnthemed.AddMany(unthemed);
        lstThemed.AddMany(themed);
    }
    if (lstUnthemed.Count() > 0) {
        lstUnthemed.SetCurrent(0);
        lstUnthemed_GotFocus();
    } else if (lstThemed.Count() > 0) {
        lstThemed.SetCurrent(0);
        lstThemed_GotFocus();
    }
}

void VestrimPanel::ShowFileDetails(const std::wstring& applicationName, const std::wstring& fullPath) {
    VersionInfo version;
    version.SetFileName(fullPath);
    SetText(txtDescription, version.FileDescription());
    SetText(txtProductName, version.ProductName());
    SetText(txtCompanyName, version.CompanyName());
    SetText(txtApplicationName, applicationName);
}

void VestrimPanel::lstUnthemed_Click() {
    const int current = lstUnthemed.Current();
    if (current < 0) return;
    const std::wstring name = lstUnthemed.Text(current);
    ShowFileDetails(name, FullPathOf(name));
}

void VestrimPanel::lstThemed_Click() { ReadManifestDetails(); }

void VestrimPanel::lstUnthemed_GotFocus() {
    if (running_) return;
    EnableWindow(cmdVestrim, lstUnthemed.Count() > 0);
    SetText(cmdVestrim, kApplyCaption);
}

void VestrimPanel::lstThemed_GotFocus() {
    if (running_) return;
    EnableWindow(cmdVestrim, lstThemed.Count() > 0);
    SetText(cmdVestrim, kRemoveCaption);
}

// Any character key reloads the current item's details, except the space bar, which only ticks:
// like a click on the tick box, it leaves the user's edits alone.
void VestrimPanel::lstUnthemed_KeyPress(wchar_t key) {
    if (key != L' ') lstUnthemed_Click();
}

void VestrimPanel::lstThemed_KeyPress(wchar_t key) {
    if (key != L' ') lstThemed_Click();
}

// The "+" and "-" buttons: every item ticked or cleared, the focus to the list (which sets the
// button's mode), then the list's Click handling.
void VestrimPanel::TickAllAndEnter(CheckList& list, bool ticked) {
    list.SetAllTicked(ticked);
    SetFocus(list.Handle());
}

void VestrimPanel::cmdUnThemedSelAll_Click() {
    TickAllAndEnter(lstUnthemed, true);
    lstUnthemed_Click();
}

void VestrimPanel::cmdUnThemedUnSelAll_Click() {
    TickAllAndEnter(lstUnthemed, false);
    lstUnthemed_Click();
}

void VestrimPanel::cmdThemedSelAll_Click() {
    TickAllAndEnter(lstThemed, true);
    lstThemed_Click();
}

void VestrimPanel::cmdThemedUnSelAll_Click() {
    TickAllAndEnter(lstThemed, false);
    lstThemed_Click();
}

void VestrimPanel::cmdVestrim_Click() {
    const PanelHost::LongAction action(host_);
    const std::wstring caption = TextOf(cmdVestrim);
    const bool applying = caption == kApplyCaption;
    if (!applying && caption != kRemoveCaption) return;
    FailureReport report(applying ? FailureReport::Action::Theme : FailureReport::Action::Untheme);
    {
        // The folder cannot change under the loop, and the action cannot start inside itself.
        const RunningFlag running(running_);
        const DisabledControls disabled{cmdVestrim, host_.QuickMenuStrip(), Drive1.Handle(), Dir1.Handle()};
        CheckList& list = applying ? lstUnthemed : lstThemed;
        const int count = list.Count();
        for (int i = 0; i < count && !host_.CloseRequested(); ++i) {
            if (!list.IsTicked(i)) continue;
            list.SetCurrent(i);
            DoEvents();
            // A file that cannot get (or lose) its manifest is skipped and reported at the end; the
            // refresh shows where it stands.
            const std::wstring executable = FullPathOf(list.Text(i));
            if (applying) {
                const ThemingService::ThemeOutcome outcome = WriteManifest();
                if (!outcome.written()) report.Add(executable, outcome.failure);
                if (outcome.written() && !outcome.recorded) report.HistoryNotRecorded();
            } else if (const ManifestFailure failure = theming_.Untheme(ManifestPathFor(executable));
                       failure != ManifestFailure::None) {
                report.Add(executable, failure);
            }
        }
        RefreshAppLists();
        SetFocus(list.Handle());
    }
    // The action ends with the button enabled in the mode of the list it worked on, even when
    // that list is now empty.
    SetText(cmdVestrim, applying ? kApplyCaption : kRemoveCaption);
    EnableWindow(cmdVestrim, TRUE);
    host_.Report(report);
}

ThemingService::ThemeOutcome VestrimPanel::WriteManifest() {
    const int current = lstUnthemed.Current();
    if (current < 0) return {ManifestFailure::Missing};
    const ManifestDetails details{TextOf(txtCompanyName), TextOf(txtProductName), TextOf(txtApplicationName),
                                  TextOf(txtDescription)};
    return theming_.Theme(FullPathOf(lstUnthemed.Text(current)), details);
}

void VestrimPanel::ReadManifestDetails() {
    const int current = lstThemed.Current();
    const ManifestDetails details =
        current < 0 ? ManifestDetails{} : ReadManifestDetailsForExecutable(FullPathOf(lstThemed.Text(current)));
    SetText(txtCompanyName, details.company);
    SetText(txtProductName, details.product);
    SetText(txtApplicationName, details.applicationName);
    SetText(txtDescription, details.description);
}
