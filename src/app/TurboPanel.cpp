#include "app/TurboPanel.h"

#include <algorithm>

#include "app/DisabledControls.h"
#include "app/GdiHandles.h"
#include "app/ListScrollWidths.h"
#include "app/Look.h"
#include "app/WindowText.h"
#include "app/MessagePump.h"
#include "app/TurboTexts.h"
#include "platform/Throttle.h"
#include "platform/VersionInfo.h"
#include "theming/OwnManifestTooltip.h"
#include "theming/ThemingAction.h"

namespace {

const FontDescription kNewSearchFont{L"Arial", 9.75, true, false};
const FontDescription kStopFont{L"Arial", 12, true, false};
const FontDescription kScanningFont{L"Arial", 9.75, true, false};

// Twips: the folder label above the file label, where the result list shows later.
constexpr TwipRect kFolderLabelRect{120, 1680, 4815, 735};
constexpr TwipRect kFileLabelRect{120, 2400, 4815, 1815};

// The folder list looks up every folder of the path it is given, lists the subfolders and
// redraws, some tens of milliseconds where the display is a separate server: shown once a
// second, it costs the search about two per cent. Each repaint of the progress labels costs about
// a millisecond: ten a second keep them live.
constexpr DWORD kFolderShowInterval = 1000;
constexpr DWORD kProgressShowInterval = 100;
// The search yields after every file; a full pass over the queue (with the display's input) at
// least this often keeps STOP and the window as quick to answer as a yield every time would.
constexpr DWORD kFullYieldInterval = 50;

// What shows and what takes input in each state; the scan box, its label, the line and the two
// folder controls always show.
struct StateLook {
    bool searchFor;      // the three "Search for" labels
    bool options;        // the two circles
    bool go;
    bool newSearch;
    bool stop;
    bool scanning;       // the two progress labels
    bool resultList;
    bool showResults;
    bool applyRow;       // "+", "-" and the action button, when the list holds lines
    bool showResultsEnabled;
    bool driveEnabled;
    bool folderEnabled;
    bool subfoldersEnabled;  // the scan box and its label
};

// By TurboPanel::State.
constexpr StateLook kStateLooks[] = {
    // Idle
    {.searchFor = true, .newSearch = true, .driveEnabled = true, .folderEnabled = true, .subfoldersEnabled = true},
    // SetUp
    {.searchFor = true, .options = true, .go = true, .driveEnabled = true, .folderEnabled = true,
     .subfoldersEnabled = true},
    // Searching: the folder list follows the search.
    {.stop = true, .scanning = true, .showResults = true, .folderEnabled = true},
    // Searched
    {.scanning = true, .showResults = true, .showResultsEnabled = true},
    // Results: the list covers the progress labels.
    {.newSearch = true, .scanning = true, .resultList = true, .applyRow = true},
    // Applying
    {.stop = true, .scanning = true, .resultList = true},
};

void Show(HWND control, bool shown) { ShowWindow(control, shown ? SW_SHOW : SW_HIDE); }

void Enable(HWND control, bool enabled) { EnableWindow(control, enabled ? TRUE : FALSE); }

bool IsChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) != BST_UNCHECKED; }

void SetChecked(HWND button, bool checked) {
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

size_t LineCount(const std::wstring& text) {
    size_t lines = 0;
    for (size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at + 2)) ++lines;
    return lines;
}

// Pixels the label's text takes, wrapped at the label's width as the label wraps it.
int TextHeightIn(HWND label, const std::wstring& text, int width) {
    const WindowDc dc(label);
    const SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT rect{0, 0, width, 0};
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    return rect.bottom - rect.top;
}

void MoveTo(HWND control, const RECT& rect) {
    MoveWindow(control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

}  // namespace

// What the search asks of the panel: the window's messages in its yields, STOP, the close and the
// result limit, the folder in the folder list, the progress in the two labels, the results'
// lines, each read from its program's version resource.
class TurboPanel::SearchDisplay final : public SearchHost {
public:
    explicit SearchDisplay(TurboPanel& panel) : panel_(panel) {}

    void YieldToWindow() override {
        if (!yield_.Run()) quitting_ = true;
    }
    bool StopRequested() override { return quitting_ || LimitReached() || panel_.Stopping(); }
    void ShowFolder(const std::wstring& directory) override {
        if (folderShown_.Due()) panel_.dirTurbo_.SetPath(directory);
    }
    // Go shows the last texts itself when the search is over.
    void ShowProgress(const SearchProgress& progress) override {
        if (progressShown_.Due()) panel_.ShowProgress(progress.counters, LimitReached(), LastLineOf(progress));
    }
    void AddResult(const std::wstring& executablePath) override {
        reader_.SetFileName(executablePath);
        const int64_t serial = static_cast<int64_t>(entries_.size());
        entries_.push_back(
            {ResultLine(reader_.ProductName(), reader_.FileDescription(), executablePath, serial), executablePath});
    }

    // The search ended at the most lines the result list can take.
    bool LimitReached() const { return static_cast<int64_t>(entries_.size()) >= panel_.resultLimit_; }
    // The line of the file examined last, when it was a result.
    std::wstring LastLineOf(const SearchProgress& progress) const {
        if (entries_.empty() || progress.lastResult.empty() || entries_.back().value != progress.lastResult) return {};
        return entries_.back().text;
    }
    // The result lines in the order found. The result list stays hidden while the search runs:
    // it takes them all at once at the end, sorted once rather than line by line.
    std::vector<CheckList::Entry> TakeEntries() { return std::move(entries_); }

private:
    TurboPanel& panel_;
    VersionInfo reader_;
    std::vector<CheckList::Entry> entries_;
    bool quitting_ = false;
    FrequentYield yield_{kFullYieldInterval};
    Throttle folderShown_{kFolderShowInterval};
    Throttle progressShown_{kProgressShowInterval};
};

// What the action asks of the panel: the window's messages, STOP and the close, and the lines of
// the programs handled. It works on the lines ticked when it started: a line that is done leaves
// the list, one that fails is unticked and stays; un-theming makes each line current in turn.
class TurboPanel::ApplyDisplay final : public ActionHost {
public:
    ApplyDisplay(TurboPanel& panel, bool removing) : panel_(panel), removing_(removing) {
        for (const int line : panel_.lstTurbo_.TickedItems()) {
            lines_.push_back(line);
            executables_.push_back(panel_.lstTurbo_.Value(line));
        }
    }

    const std::vector<std::wstring>& Executables() const { return executables_; }

    bool StopRequested() override { return panel_.Stopping(); }
    bool Starting(size_t index) override {
        if (removing_) panel_.lstTurbo_.SetCurrent(LineOf(index));
        return true;
    }
    void Finished(size_t index, const ProgramOutcome& outcome) override {
        if (outcome.Done()) {
            panel_.lstTurbo_.RemoveAt(LineOf(index));
            ++removed_;
        } else {
            panel_.lstTurbo_.SetTicked(LineOf(index), false);
        }
        DoEvents();
    }

private:
    // The lines are handled from the top down and only the ones handled leave the list: a line
    // has moved up by the lines removed before it.
    int LineOf(size_t index) const { return lines_[index] - removed_; }

    TurboPanel& panel_;
    bool removing_;
    std::vector<int> lines_;
    std::vector<std::wstring> executables_;
    int removed_ = 0;
};

void TurboPanel::CreateControls() {
    // Created in the panel's keyboard order.
    controls_.AddDriveList(drvTurbo_, {.parent = &window_, .id = kDrvTurbo, .rect = {120, 100, 2415, 330},
                                       .font = &look::kPanelFont, .textColour = look::kLightGrey,
                                       .backColour = look::kDarkGrey, .onChange = [this] { drvTurbo_Change(); }});
    controls_.AddFolderList(dirTurbo_, {.parent = &window_, .id = kDirTurbo, .rect = {120, 450, 2415, 1050},
                                        .font = &look::kPanelFont, .textColour = look::kLightGrey,
                                        .backColour = look::kDarkGrey});

    chkTurbo_ = controls_.AddChild({.parent = &window_, .id = kChkTurbo, .rect = {2760, 160, 215, 215},
                                    .style = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX},
                                   L"BUTTON");
    window_.SetColours(chkTurbo_, look::kBlack, std::nullopt);
    SetChecked(chkTurbo_, true);

    // The circles: a group of their own, hidden until New Search; "Themed apps" is chosen.
    for (size_t i = 0; i < optTurboSearchFor_.size(); ++i) {
        const DWORD style = BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
        optTurboSearchFor_[i] = controls_.AddChild({.parent = &window_, .id = kOptTurboSearchForFirst + static_cast<int>(i),
                                                    .rect = {2760, i == 0 ? 840 : 1080, 215, 215}, .style = style},
                                                   L"BUTTON");
        window_.SetColours(optTurboSearchFor_[i], look::kBlack, std::nullopt);
    }
    SetChecked(optTurboSearchFor_[0], true);

    cmdTurboSearch_ = controls_.AddButton({.parent = &window_, .id = kCmdTurboSearch, .rect = {4440, 600, 495, 735},
                                           .font = &look::kPanelFont, .text = L"Go", .style = WS_GROUP,
                                           .onClick = [this] { cmdTurboSearch_Click(); }});
    cmdNewSearch_ = controls_.AddButton({.parent = &window_, .id = kCmdNewSearch, .rect = {2760, 600, 2175, 735},
                                         .font = &kNewSearchFont, .text = L"New Search",
                                         .onClick = [this] { ShowState(State::SetUp); }});
    cmdStopSearch_ = controls_.AddButton({.parent = &window_, .id = kCmdStopSearch, .rect = {2760, 600, 2175, 735},
                                          .font = &kStopFont, .text = L"STOP",
                                          .onClick = [this] { cmdStopSearch_Click(); }});

    AddResultList(controls_, lstTurbo_, {.parent = &window_, .id = kLstTurbo, .rect = {120, 1560, 4815, 2700},
                                         .askedTooltip = [this] { return CurrentResultTooltip(); }});

    cmdScannedResults_ = controls_.AddButton({.parent = &window_, .id = kCmdScannedResults,
                                              .rect = {120, 4250, 4815, 375}, .font = &look::kPanelFont,
                                              .text = L"Show Results", .onClick = [this] { cmdScannedResults_Click(); }});
    cmdTurboSelAll_ = controls_.AddButton({.parent = &window_, .id = kCmdTurboSelAll, .rect = {120, 4250, 495, 375},
                                           .font = &look::kSignFont, .text = L"+", .tooltip = L"Select All",
                                           .onClick = [this] { lstTurbo_.SetAllTicked(true); }});
    cmdTurboUnselAll_ = controls_.AddButton({.parent = &window_, .id = kCmdTurboUnselAll, .rect = {600, 4250, 495, 375},
                                             .font = &look::kSignFont, .text = L"-", .tooltip = L"Deselect All",
                                             .onClick = [this] { lstTurbo_.SetAllTicked(false); }});
    cmdTurboApply_ = controls_.AddButton({.parent = &window_, .id = kCmdTurboApply, .rect = {1080, 4250, 3855, 375},
                                          .font = &look::kPanelFont, .onClick = [this] { cmdTurboApply_Click(); }});

    // Labels lie under the controls they share a place with.
    const auto addLabel = [this](int id, const TwipRect& rect, const FontDescription& font, const wchar_t* text,
                                 COLORREF colour, std::function<void()> onClick) {
        return controls_.AddLabel({.parent = &window_, .id = id, .rect = rect, .font = &font, .text = text,
                                   .textColour = colour, .style = SS_NOPREFIX,
                                   .onClick = std::move(onClick)});
    };
    lblTurbo_ = addLabel(kLblTurbo, {3120, 160, 1815, 255}, look::kPanelFont, L"Scan Subdirectories", look::kBlack,
                         [this] { lblTurbo_Click(); });
    const TwipRect searchForRects[] = {{2760, 600, 2055, 255}, {3000, 840, 1575, 255}, {3000, 1080, 1575, 255}};
    const wchar_t* const searchForTexts[] = {L"Search for", L"Themed apps", L"UnThemed apps"};
    for (size_t i = 0; i < lblTurboSearchFor_.size(); ++i) {
        const int index = static_cast<int>(i);
        lblTurboSearchFor_[i] = addLabel(kLblTurboSearchForFirst + index, searchForRects[i], look::kPanelFont,
                                         searchForTexts[i], look::kBlack, [this, index] { lblTurboSearchFor_Click(index); });
    }
    lblTurboScanning_[1] = addLabel(kLblTurboScanningFirst + 1, kFolderLabelRect, kScanningFont, L"", look::kDarkGrey, {});
    lblTurboScanning_[0] = addLabel(kLblTurboScanningFirst, kFileLabelRect, kScanningFont, L"", look::kDarkGrey, {});
    controls_.AddLabel({.parent = &window_, .id = kLine1, .rect = {120, 1560, 4800, 15}, .backColour = look::kStripGrey});
    ShowState(State::Idle);
}

void TurboPanel::ShowState(State state) {
    const StateLook& look = kStateLooks[static_cast<size_t>(state)];
    for (HWND label : lblTurboSearchFor_) Show(label, look.searchFor);
    for (HWND option : optTurboSearchFor_) Show(option, look.options);
    Show(cmdTurboSearch_, look.go);
    Show(cmdNewSearch_, look.newSearch);
    Show(cmdStopSearch_, look.stop);
    for (HWND label : lblTurboScanning_) Show(label, look.scanning);
    Show(lstTurbo_.Handle(), look.resultList);
    Show(cmdScannedResults_, look.showResults);
    const bool applyRow = look.applyRow && lstTurbo_.Count() > 0;
    for (HWND button : {cmdTurboApply_, cmdTurboSelAll_, cmdTurboUnselAll_}) Show(button, applyRow);
    Enable(cmdScannedResults_, look.showResultsEnabled);
    Enable(drvTurbo_.Handle(), look.driveEnabled);
    Enable(dirTurbo_.Handle(), look.folderEnabled);
    for (HWND control : {chkTurbo_, lblTurbo_}) Enable(control, look.subfoldersEnabled);
}

void TurboPanel::drvTurbo_Change() { dirTurbo_.SetPath(drvTurbo_.Drive()); }

void TurboPanel::lblTurbo_Click() { SetChecked(chkTurbo_, !IsChecked(chkTurbo_)); }

void TurboPanel::lblTurboSearchFor_Click(int index) {
    if (index < 1 || index > 2) return;
    SetChecked(optTurboSearchFor_[0], index == 1);
    SetChecked(optTurboSearchFor_[1], index == 2);
}

SearchMode TurboPanel::ChosenMode() const {
    return IsChecked(optTurboSearchFor_[0]) ? SearchMode::Themed : SearchMode::Unthemed;
}

void TurboPanel::cmdTurboSearch_Click() {
    // A close meanwhile waits for the walk to end after the file in hand.
    const PanelHost::LongAction action(host_);
    stopRequested_ = false;
    ShowState(State::Searching);

    lstTurbo_.Clear();
    counters_ = {};
    const std::wstring startDirectory = dirTurbo_.Path();
    for (HWND label : lblTurboScanning_) SetText(label, L"");
    FitScanningLabels(L"");

    const SearchMode mode = ChosenMode();
    searchHeading_ = SearchHeadingOf(mode);
    SetText(cmdTurboApply_, ApplyCaptionOf(mode));

    SearchOptions options;
    options.startDirectory = startDirectory;
    options.mode = mode;
    options.scanSubdirectories = IsChecked(chkTurbo_);
    SearchDisplay display(*this);
    const SearchProgress last = RunBatchSearch(options, display).progress;
    ShowProgress(last.counters, display.LimitReached(), display.LastLineOf(last));
    lstTurbo_.AddEntries(display.TakeEntries());

    dirTurbo_.SetPath(startDirectory);
    ShowState(State::Searched);
}

void TurboPanel::ShowProgress(const SearchCounters& counters, bool limitReached, const std::wstring& lastLine) {
    counters_ = counters;
    const std::wstring folderText = DirectoryProgressText(searchHeading_, counters, limitReached);
    FitScanningLabels(folderText);
    SetText(lblTurboScanning_[1], folderText);
    SetText(lblTurboScanning_[0], counters.scannedFiles > 0 ? FileProgressText(counters, lastLine) : std::wstring());
}

void TurboPanel::FitScanningLabels(const std::wstring& folderText) {
    const size_t lines = LineCount(folderText);
    if (lines == scanningFolderLines_) return;
    scanningFolderLines_ = lines;
    const TwipScale& scale = controls_.Scale();
    RECT folder = scale.Rect(kFolderLabelRect.left, kFolderLabelRect.top, kFolderLabelRect.width,
                             kFolderLabelRect.height);
    RECT files = scale.Rect(kFileLabelRect.left, kFileLabelRect.top, kFileLabelRect.width, kFileLabelRect.height);
    const int needed = TextHeightIn(lblTurboScanning_[1], folderText, folder.right - folder.left);
    const int extra = std::min(needed - static_cast<int>(folder.bottom - folder.top), static_cast<int>(files.bottom - files.top));
    if (extra > 0) {
        folder.bottom += extra;
        files.top += extra;
    }
    MoveTo(lblTurboScanning_[1], folder);
    MoveTo(lblTurboScanning_[0], files);
}

std::wstring TurboPanel::CurrentResultTooltip() const {
    const int current = lstTurbo_.Current();
    if (current < 0) return {};
    const std::wstring& path = lstTurbo_.Value(current);
    const std::wstring ownManifest = OwnManifestTooltip(path);
    return ownManifest.empty() ? path : path + L"\r\n" + ownManifest;
}

void TurboPanel::cmdTurboApply_Click() {
    // A close meanwhile waits for the line in hand.
    const PanelHost::LongAction action(host_);
    stopRequested_ = false;
    const bool removing = ChosenMode() == SearchMode::Themed;
    ApplyDisplay display(*this, removing);
    ThemingRun run(theming_);
    PreferenceOutcome preference;
    if (!removing) {
        const std::optional<PreferenceOutcome> agreed =
            host_.AgreeOnExternalManifests(display.Executables(), run.OwnManifests());
        if (!agreed) return;
        preference = *agreed;
    }
    ShowState(State::Applying);
    // Turbo Vestrim names a program as its version resource does.
    const ActionRequest request = removing ? ActionRequest{.kind = ActionRequest::Kind::Untheme}
                                           : ActionRequest{.details = VersionDetails{ApplicationNaming::OriginalFileName}};
    FailureReport report = [&] {
        const DisabledControls disabled{host_.QuickMenuStrip()};
        DoEvents();
        FailureReport outcome = RunThemingAction(run, request, display.Executables(), display);
        DoEvents();
        return outcome;
    }();
    report.Preference(preference);
    ShowState(State::Results);
    host_.Report(report);
}
