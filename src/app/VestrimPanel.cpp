#include "app/VestrimPanel.h"

#include <initializer_list>

#include "app/DisabledControls.h"
#include "app/ExecutableFiles.h"
#include "app/Look.h"
#include "app/WindowText.h"
#include "manifest/ManifestFile.h"
#include "manifest/ManifestForExecutable.h"
#include "platform/MessagePump.h"
#include "platform/VersionInfo.h"
#include "theming/OutcomeReport.h"
#include "theming/OwnManifestTooltip.h"

namespace {

const wchar_t kApplyCaption[] = L"Apply XP Theme NOW!!! ";
const wchar_t kRemoveCaption[] = L"Remove XP Theme NOW!!! ";

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

HWND VestrimPanel::AddDetailBox(int id, int top) {
    return controls_.AddTextBox({.parent = &window_, .id = id, .rect = {1800, top, 3135, 315},
                                 .font = &look::kPanelFont, .textColour = look::kLightGrey,
                                 .backColour = look::kDarkGrey});
}

HWND VestrimPanel::AddSignButton(const wchar_t* sign, int id, int top, const wchar_t* tooltip, CheckList& list,
                                 bool ticked) {
    return controls_.AddButton({.parent = &window_, .id = id, .rect = {4680, top, 255, 495}, .font = &look::kPanelFont,
                                .text = sign, .tooltip = tooltip,
                                .onClick = [this, &list, ticked] { TickAllAndEnter(list, ticked); }});
}

HWND VestrimPanel::AddCaption(int id, const wchar_t* text, COLORREF colour, int left, int top, int width) {
    return controls_.AddLabel({.parent = &window_, .id = id, .rect = {left, top, width, 255},
                               .font = &look::kPanelFont, .text = text, .textColour = colour});
}

void VestrimPanel::CreateControls() {
    // Created in the panel's keyboard order; the hidden file list is no window at all.
    cmdVestrim_ = controls_.AddButton({.parent = &window_, .id = kCmdVestrim, .rect = {120, 4200, 4815, 375},
                                       .font = &look::kPanelFont, .text = kApplyCaption,
                                       .onClick = [this] { cmdVestrim_Click(); }});

    // Each list's tip tells what the current program's own manifest means, read when it shows.
    const auto addList = [this](CheckList& list, int id, int top, std::function<void()> onClick) {
        controls_.AddCheckList(list, {.parent = &window_, .id = id, .rect = {2640, top, 2055, 1020},
                                      .font = &look::kPanelFont, .textColour = look::kLightGrey,
                                      .backColour = look::kDarkGrey,
                                      .askedTooltip = [this, &list] { return OwnManifestTooltipOf(list); },
                                      .onClick = std::move(onClick)});
    };
    addList(lstUnthemed_, kLstUnthemed, 360, [this] { lstUnthemed_Click(); });
    addList(lstThemed_, kLstThemed, 1680, [this] { lstThemed_Click(); });
    lstUnthemed_.onGotFocus = [this] { lstUnthemed_GotFocus(); };
    lstUnthemed_.onKeyPress = [this](wchar_t key) { lstUnthemed_KeyPress(key); };
    lstThemed_.onGotFocus = [this] { lstThemed_GotFocus(); };
    lstThemed_.onKeyPress = [this](wchar_t key) { lstThemed_KeyPress(key); };

    controls_.AddDriveList(Drive1_, {.parent = &window_, .id = kDrive1, .rect = {120, 120, 2415, 330},
                                     .font = &look::kPanelFont, .text = startFolder_, .textColour = look::kLightGrey,
                                     .backColour = look::kDarkGrey, .onChange = [this] { Drive1_Change(); }});
    controls_.AddFolderList(Dir1_, {.parent = &window_, .id = kDir1, .rect = {120, 450, 2415, 2250},
                                    .font = &look::kPanelFont, .text = startFolder_, .textColour = look::kLightGrey,
                                    .backColour = look::kDarkGrey, .onChange = [this] { Dir1_Change(); }});
    File1_.Path = Dir1_.Path();

    txtCompanyName_ = AddDetailBox(kTxtCompanyName, 2760);
    txtProductName_ = AddDetailBox(kTxtProductName, 3120);
    txtApplicationName_ = AddDetailBox(kTxtApplicationName, 3480);
    txtDescription_ = AddDetailBox(kTxtDescription, 3840);

    AddSignButton(L"+", kCmdUnThemedSelAll, 360, L"Select All", lstUnthemed_, true);
    AddSignButton(L"-", kCmdUnThemedUnSelAll, 840, L"Unselect All", lstUnthemed_, false);
    AddSignButton(L"+", kCmdThemedSelAll, 1680, L"Select All", lstThemed_, true);
    AddSignButton(L"-", kCmdThemedUnSelAll, 2160, L"Unselect All", lstThemed_, false);

    AddCaption(kLblUnthemed, L"UnThemed Applications", look::kNavy, 2640, 120, 2295);
    AddCaption(kLblThemed, L"Themed Applications", look::kDarkRed, 2640, 1440, 2295);
    AddCaption(kLblCompanyName, L"Company Name", look::kBlack, 120, 2760, 1935);
    AddCaption(kLblProductName, L"Product Name", look::kBlack, 120, 3120, 1935);
    AddCaption(kLabel2, L"Application Name", look::kBlack, 120, 3480, 1935);
    AddCaption(kLabel3, L"Description", look::kBlack, 120, 3840, 1935);
}

void VestrimPanel::OpenFolder(const std::wstring& folder) {
    if (!Window()) {
        startFolder_ = folder;
        return;
    }
    Drive1_.SetDrive(folder.substr(0, 2));
    // Opening another folder refreshes the lists through the folder list's change; the same
    // folder again, or one that cannot be opened, is refreshed here.
    const std::wstring shown = Dir1_.Path();
    if (!Dir1_.SetPath(folder) || Dir1_.Path() == shown) Dir1_Change();
}

std::wstring VestrimPanel::FullPathOf(const std::wstring& fileName) const {
    // Plain concatenation: at a drive root the path holds two backslashes, as stored in history.
    return File1_.Path + L"\\" + fileName;
}

void VestrimPanel::Drive1_Change() { Dir1_.SetPath(Drive1_.Drive()); }

void VestrimPanel::Dir1_Change() {
    File1_.Path = Dir1_.Path();
    RefreshAppLists();
}

void VestrimPanel::RefreshAppLists() {
    {
        const RedrawPaused paused{lstUnthemed_.Handle(), lstThemed_.Handle()};
        lstUnthemed_.Clear();
        lstThemed_.Clear();
        for (HWND box : {txtDescription_, txtProductName_, txtCompanyName_, txtApplicationName_}) SetText(box, L"");
        // The listing that finds the executables also tells which have manifests: asking for each
        // manifest by name would cost a search of the whole folder for every one that is missing.
        ExecutableListing listing = ListExecutables(File1_.Path);
        File1_.Names = std::move(listing.names);
        // While an apply or remove runs, its scope keeps the button disabled.
        if (!running_) EnableWindow(cmdVestrim_, TRUE);
        if (File1_.Names.empty()) {
            EnableWindow(cmdVestrim_, FALSE);
            return;
        }
        std::vector<std::wstring> unthemed, themed;
        for (const std::wstring& name : File1_.Names) (listing.HasManifest(name) ? themed : unthemed).push_back(name);
        lstUnthemed_.AddMany(unthemed);
        lstThemed_.AddMany(themed);
    }
    if (lstUnthemed_.Count() > 0) {
        lstUnthemed_.SetCurrent(0);
        lstUnthemed_GotFocus();
    } else if (lstThemed_.Count() > 0) {
        lstThemed_.SetCurrent(0);
        lstThemed_GotFocus();
    }
}

void VestrimPanel::ShowFileDetails(const std::wstring& applicationName, const std::wstring& fullPath) {
    VersionInfo version;
    version.SetFileName(fullPath);
    ShowDetails({version.CompanyName(), version.ProductName(), applicationName, version.FileDescription()});
}

void VestrimPanel::lstUnthemed_Click() {
    const int current = lstUnthemed_.Current();
    if (current < 0) return;
    const std::wstring name = lstUnthemed_.Text(current);
    ShowFileDetails(name, FullPathOf(name));
}

void VestrimPanel::lstThemed_Click() { ReadManifestDetails(); }

void VestrimPanel::lstUnthemed_GotFocus() {
    if (running_) return;
    EnableWindow(cmdVestrim_, lstUnthemed_.Count() > 0);
    SetText(cmdVestrim_, kApplyCaption);
}

void VestrimPanel::lstThemed_GotFocus() {
    if (running_) return;
    EnableWindow(cmdVestrim_, lstThemed_.Count() > 0);
    SetText(cmdVestrim_, kRemoveCaption);
}

// Any character key reloads the current item's details, except the space bar, which only ticks:
// like a click on the tick box, it leaves the user's edits alone.
void VestrimPanel::lstUnthemed_KeyPress(wchar_t key) {
    if (key != L' ') lstUnthemed_Click();
}

void VestrimPanel::lstThemed_KeyPress(wchar_t key) {
    if (key != L' ') lstThemed_Click();
}

void VestrimPanel::TickAllAndEnter(CheckList& list, bool ticked) {
    list.SetAllTicked(ticked);
    SetFocus(list.Handle());
    list.onClick();
}

std::vector<VestrimPanel::TickedProgram> VestrimPanel::TickedPrograms(const CheckList& list) const {
    std::vector<TickedProgram> ticked;
    for (const int line : list.TickedItems()) ticked.push_back({FullPathOf(list.Text(line)), line});
    return ticked;
}

int VestrimPanel::LineOf(const CheckList& list, const TickedProgram& program) const {
    return list.FindItem(program.line, [&](int line) { return FullPathOf(list.Text(line)) == program.path; });
}

void VestrimPanel::cmdVestrim_Click() {
    const PanelHost::LongAction action(host_);
    const std::wstring caption = TextOf(cmdVestrim_);
    const bool applying = caption == kApplyCaption;
    if (!applying && caption != kRemoveCaption) return;
    CheckList& list = applying ? lstUnthemed_ : lstThemed_;
    // The action works on the programs ticked now, whatever the list shows later; the current
    // one is themed with the details as the user left them in the boxes.
    const std::vector<TickedProgram> ticked = TickedPrograms(list);
    const std::wstring editedPath = list.Current() < 0 ? std::wstring() : FullPathOf(list.Text(list.Current()));
    const ManifestDetails edited = BoxDetails();
    OwnManifestReadings ownManifests;
    if (applying) {
        std::vector<std::wstring> paths;
        for (const TickedProgram& program : ticked) paths.push_back(program.path);
        if (!host_.AgreeOnExternalManifests(paths, ownManifests)) return;
    }
    FailureReport report(applying ? FailureReport::Action::Theme : FailureReport::Action::Untheme);
    {
        // The folder cannot change under the loop, and the action cannot start inside itself.
        const RunningFlag running(running_);
        const DisabledControls disabled{cmdVestrim_, host_.QuickMenuStrip(), Drive1_.Handle(), Dir1_.Handle()};
        for (const TickedProgram& program : ticked) {
            if (host_.CloseRequested()) break;
            const int line = LineOf(list, program);
            if (line < 0) continue;
            // Made current, as a click would make it: its details fill the boxes.
            list.SetCurrent(line);
            if (applying && program.path == editedPath) ShowDetails(edited);
            const ManifestDetails details = BoxDetails();
            DoEvents();
            // A program whose line went while the window ran is left alone. One that cannot get
            // (or lose) its manifest is skipped and reported at the end; the refresh shows where
            // it stands.
            if (LineOf(list, program) < 0) continue;
            if (applying) {
                ReportOutcome(report, program.path, theming_.Theme(program.path, details, ownManifests));
            } else {
                ReportOutcome(report, program.path, theming_.RemoveTheme(ManifestPathFor(program.path)));
            }
        }
        RefreshAppLists();
        SetFocus(list.Handle());
    }
    // The action ends with the button enabled in the mode of the list it worked on, even when
    // that list is now empty.
    SetText(cmdVestrim_, applying ? kApplyCaption : kRemoveCaption);
    EnableWindow(cmdVestrim_, TRUE);
    host_.Report(report);
}

ManifestDetails VestrimPanel::BoxDetails() const {
    return {TextOf(txtCompanyName_), TextOf(txtProductName_), TextOf(txtApplicationName_), TextOf(txtDescription_)};
}

void VestrimPanel::ShowDetails(const ManifestDetails& details) {
    SetText(txtCompanyName_, details.company);
    SetText(txtProductName_, details.product);
    SetText(txtApplicationName_, details.applicationName);
    SetText(txtDescription_, details.description);
}

std::wstring VestrimPanel::OwnManifestTooltipOf(const CheckList& list) const {
    const int current = list.Current();
    return current < 0 ? std::wstring() : OwnManifestTooltip(FullPathOf(list.Text(current)));
}

void VestrimPanel::ReadManifestDetails() {
    const int current = lstThemed_.Current();
    ShowDetails(current < 0 ? ManifestDetails{}
                            : ReadManifestDetailsForExecutable(FullPathOf(lstThemed_.Text(current))));
}
