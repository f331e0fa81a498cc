#include "app/VestrimPanel.h"

#include <initializer_list>

#include "app/DisabledControls.h"
#include "app/ExecutableFiles.h"
#include "app/Look.h"
#include "app/WindowText.h"
#include "app/MessagePump.h"
#include "manifest/ManifestForExecutable.h"
#include "theming/OwnManifestTooltip.h"
#include "theming/ThemingAction.h"

namespace {

const wchar_t* CaptionOf(VestrimPanel::Mode mode) {
    return mode == VestrimPanel::Mode::Apply ? L"Apply XP Theme NOW!!! " : L"Remove XP Theme NOW!!! ";
}

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

// What the action asks of the panel: each program ticked when it started is made current in
// turn, as a click would make it, so that its details fill the boxes (the current one's as the
// user left them), and is themed with the boxes' details. A program whose line went meanwhile,
// even while the window ran, is left alone.
class VestrimPanel::ActionDisplay final : public ActionHost {
public:
    ActionDisplay(VestrimPanel& panel, CheckList& list) : panel_(panel), list_(list) {
        for (const int line : list.TickedItems()) {
            lines_.push_back(line);
            programs_.push_back(list.Value(line));
        }
        if (list.Current() >= 0) editedPath_ = list.Value(list.Current());
        edited_ = panel.BoxDetails();
    }

    const std::vector<std::wstring>& Programs() const { return programs_; }

    bool StopRequested() override { return panel_.host_.CloseRequested(); }
    bool Starting(size_t index) override {
        const std::wstring& program = programs_[index];
        const int line = list_.FindValue(lines_[index], program);
        if (line < 0) return false;
        list_.SetCurrent(line);
        if (panel_.mode_ == Mode::Apply && program == editedPath_) panel_.ShowDetails(edited_);
        details_ = panel_.BoxDetails();
        DoEvents();
        return list_.FindValue(line, program) >= 0;
    }
    std::optional<ManifestDetails> GivenDetails(size_t) override { return details_; }
    // One that cannot get (or lose) its manifest is reported at the end; the refresh shows where
    // it stands.
    void Finished(size_t, const ProgramOutcome&) override {}

private:
    VestrimPanel& panel_;
    CheckList& list_;
    std::vector<int> lines_;  // where each program's line was when the action started
    std::vector<std::wstring> programs_;
    std::wstring editedPath_;
    ManifestDetails edited_;
    ManifestDetails details_;
};

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
                                       .font = &look::kPanelFont, .text = CaptionOf(Mode::Apply),
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
        std::vector<CheckList::Entry> unthemed, themed;
        for (const std::wstring& name : File1_.Names) {
            (listing.HasManifest(name) ? themed : unthemed).push_back({name, FullPathOf(name)});
        }
        lstUnthemed_.AddEntries(std::move(unthemed));
        lstThemed_.AddEntries(std::move(themed));
    }
    if (lstUnthemed_.Count() > 0) {
        lstUnthemed_.SetCurrent(0);
        lstUnthemed_GotFocus();
    } else if (lstThemed_.Count() > 0) {
        lstThemed_.SetCurrent(0);
        lstThemed_GotFocus();
    }
}

void VestrimPanel::lstUnthemed_Click() {
    const int current = lstUnthemed_.Current();
    if (current < 0) return;
    // The listed name is the application's name.
    ShowDetails(ChosenDetails(lstUnthemed_.Value(current), VersionDetails{ApplicationNaming::FileName}));
}

void VestrimPanel::lstThemed_Click() { ReadManifestDetails(); }

void VestrimPanel::lstUnthemed_GotFocus() {
    if (running_) return;
    EnableWindow(cmdVestrim_, lstUnthemed_.Count() > 0);
    SetMode(Mode::Apply);
}

void VestrimPanel::lstThemed_GotFocus() {
    if (running_) return;
    EnableWindow(cmdVestrim_, lstThemed_.Count() > 0);
    SetMode(Mode::Remove);
}

void VestrimPanel::SetMode(Mode mode) {
    mode_ = mode;
    SetText(cmdVestrim_, CaptionOf(mode));
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

void VestrimPanel::cmdVestrim_Click() {
    const PanelHost::LongAction action(host_);
    const Mode mode = mode_;
    CheckList& list = mode == Mode::Apply ? lstUnthemed_ : lstThemed_;
    // The action works on the programs ticked now, whatever the list shows later; the current
    // one is themed with the details as the user left them in the boxes.
    ActionDisplay display(*this, list);
    ThemingRun run(theming_);
    PreferenceOutcome preference;
    if (mode == Mode::Apply) {
        const std::optional<PreferenceOutcome> agreed = host_.AgreeOnExternalManifests(display.Programs(), run.OwnManifests());
        if (!agreed) return;
        preference = *agreed;
    }
    const ActionRequest request{.kind = mode == Mode::Apply ? ActionRequest::Kind::Theme : ActionRequest::Kind::Untheme};
    FailureReport report = [&] {
        // The folder cannot change under the loop, and the action cannot start inside itself.
        const RunningFlag running(running_);
        const DisabledControls disabled{cmdVestrim_, host_.QuickMenuStrip(), Drive1_.Handle(), Dir1_.Handle()};
        FailureReport outcome = RunThemingAction(run, request, display.Programs(), display);
        RefreshAppLists();
        SetFocus(list.Handle());
        return outcome;
    }();
    // The action ends with the button enabled in the mode of the list it worked on, even when
    // that list is now empty.
    SetMode(mode);
    EnableWindow(cmdVestrim_, TRUE);
    report.Preference(preference);
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
    return current < 0 ? std::wstring() : OwnManifestTooltip(list.Value(current));
}

void VestrimPanel::ReadManifestDetails() {
    const int current = lstThemed_.Current();
    ShowDetails(current < 0 ? ManifestDetails{}
                            : ReadManifestDetailsForExecutable(lstThemed_.Value(current)));
}
