#include "app/TurboPanel.h"

#include <algorithm>

#include "app/ControlIds.h"
#include "app/DisabledControls.h"
#include "app/GdiHandles.h"
#include "app/Look.h"
#include "app/WindowText.h"
#include "batch/BatchApply.h"
#include "platform/MessagePump.h"
#include "platform/Throttle.h"

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

// What the search asks of the panel: the window's messages in its yields, STOP and the close,
// the folder in the folder list, the progress in the two labels, the results in the lists.
class TurboPanel::SearchDisplay final : public SearchHost {
public:
    explicit SearchDisplay(TurboPanel& panel) : panel_(panel) {}

    void YieldToWindow() override {
        if (!yield_.Run()) quitting_ = true;
    }
    bool StopRequested() override { return quitting_ || panel_.Stopping(); }
    void ShowFolder(const std::wstring& directory) override {
        if (folderShown_.Due()) panel_.dirTurbo.SetPath(directory);
    }
    // Go shows the last texts itself when the search is over.
    void ShowProgress(const SearchProgress& progress) override {
        if (progressShown_.Due()) panel_.ShowProgress(progress);
    }
    void AddResult(const std::wstring& line, const std::wstring& executablePath) override {
        panel_.lstTempTurbo.push_back(executablePath);
        lines_.push_back(line);
    }
    // The result lines in the order found. The result list stays hidden while the search runs:
    // it takes them all at once at the end, sorted once rather than line by line.
    const std::vector<std::wstring>& Lines() const { return lines_; }

private:
    TurboPanel& panel_;
    std::vector<std::wstring> lines_;
    bool quitting_ = false;
    FrequentYield yield_{kFullYieldInterval};
    Throttle folderShown_{kFolderShowInterval};
    Throttle progressShown_{kProgressShowInterval};
};

// What the action asks of the panel: the window's messages, STOP and the close, and the lines of
// the programs handled. It works on the lines ticked when it started: a line that is done leaves
// the list, one that fails is unticked and stays; un-theming makes each line current in turn.
class TurboPanel::ApplyDisplay final : public ApplyHost {
public:
    ApplyDisplay(TurboPanel& panel, bool removing) : panel_(panel), removing_(removing) {
        for (int line = 0; line < panel_.lstTurbo.Count(); ++line) {
            if (!panel_.lstTurbo.IsTicked(line)) continue;
            if (std::optional<std::wstring> path = panel_.ResultPathOfLine(line)) {
                lines_.push_back(line);
                executables_.push_back(std::move(*path));
            }
        }
    }

    const std::vector<std::wstring>& Executables() const { return executables_; }

    void YieldToWindow() override { DoEvents(); }
    bool StopRequested() override { return panel_.Stopping(); }
    void Starting(size_t index) override {
        if (removing_) panel_.lstTurbo.SetCurrent(LineOf(index));
    }
    void Finished(size_t index, bool done) override {
        if (done) {
            panel_.lstTurbo.RemoveAt(LineOf(index));
            ++removed_;
        } else {
            panel_.lstTurbo.SetTicked(LineOf(index), false);
        }
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

void TurboPanel::Create() {
    host_.CreatePanelWindow(window_);
    const TwipScale& scale = host_.Scale();
    const HWND panel = window_.Handle();
    const HFONT font = host_.Font(look::kPanelFont);

    // Created in the panel's keyboard order.
    drvTurbo.Create(panel, kDrvTurbo, scale.Rect(120, 100, 2415, 330), font, look::kLightGrey, look::kDarkGrey);
    dirTurbo.Create(panel, kDirTurbo, scale.Rect(120, 450, 2415, 1050), font, look::kLightGrey, look::kDarkGrey);
    window_.Register(drvTurbo);
    window_.Register(dirTurbo);
    drvTurbo.onChange = [this] { drvTurbo_Change(); };

    chkTurbo = host_.AddChild({.parent = &window_, .id = kChkTurbo, .rect = {2760, 160, 215, 215},
                               .style = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX},
                              L"BUTTON");
    window_.SetColours(chkTurbo, look::kBlack, std::nullopt);
    SetChecked(chkTurbo, true);

    // The circles: a group of their own, hidden until New Search; "Themed apps" is chosen.
    for (size_t i = 0; i < optTurboSearchFor.size(); ++i) {
        const DWORD style = BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
        optTurboSearchFor[i] = host_.AddChild({.parent = &window_, .id = kOptTurboSearchForFirst + static_cast<int>(i),
                                               .rect = {2760, i == 0 ? 840 : 1080, 215, 215}, .style = style},
                                              L"BUTTON");
        window_.SetColours(optTurboSearchFor[i], look::kBlack, std::nullopt);
    }
    SetChecked(optTurboSearchFor[0], true);

    cmdTurboSearch = host_.AddButton({.parent = &window_, .id = kCmdTurboSearch, .rect = {4440, 600, 495, 735},
                                      .font = &look::kPanelFont, .text = L"Go", .style = WS_GROUP});
    cmdNewSearch = host_.AddButton({.parent = &window_, .id = kCmdNewSearch, .rect = {2760, 600, 2175, 735},
                                    .font = &kNewSearchFont, .text = L"New Search"});
    cmdStopSearch = host_.AddButton({.parent = &window_, .id = kCmdStopSearch, .rect = {2760, 600, 2175, 735},
                                     .font = &kStopFont, .text = L"STOP"});
    Show(cmdTurboSearch, false);
    Show(cmdStopSearch, false);
    window_.OnClick(cmdTurboSearch, [this] { cmdTurboSearch_Click(); });
    window_.OnClick(cmdNewSearch, [this] { cmdNewSearch_Click(); });
    window_.OnClick(cmdStopSearch, [this] { cmdStopSearch_Click(); });

    lstTurbo.Create(panel, kLstTurbo, scale.Rect(120, 1560, 4815, 2700), CheckList::Style{true}, font, scale.Dpi());
    window_.Register(lstTurbo);
    lstTurbo.onClick = [this] { lstTurbo_Click(); };
    host_.SetTooltip(lstTurbo.Handle(), L"");
    Show(lstTurbo.Handle(), false);

    cmdScannedResults = host_.AddButton({.parent = &window_, .id = kCmdScannedResults, .rect = {120, 4250, 4815, 375},
                                         .font = &look::kPanelFont, .text = L"Show Results"});
    cmdTurboSelAll = host_.AddButton({.parent = &window_, .id = kCmdTurboSelAll, .rect = {120, 4250, 495, 375},
                                      .font = &look::kSignFont, .text = L"+", .tooltip = L"Select All"});
    cmdTurboUnselAll = host_.AddButton({.parent = &window_, .id = kCmdTurboUnselAll, .rect = {600, 4250, 495, 375},
                                        .font = &look::kSignFont, .text = L"-", .tooltip = L"Deselect All"});
    cmdTurboApply = host_.AddButton({.parent = &window_, .id = kCmdTurboApply, .rect = {1080, 4250, 3855, 375},
                                     .font = &look::kPanelFont});
    Show(cmdScannedResults, false);
    Enable(cmdScannedResults, false);
    ShowApplyRow(false);
    window_.OnClick(cmdScannedResults, [this] { cmdScannedResults_Click(); });
    window_.OnClick(cmdTurboSelAll, [this] { cmdTurboSelAll_Click(); });
    window_.OnClick(cmdTurboUnselAll, [this] { cmdTurboUnselAll_Click(); });
    window_.OnClick(cmdTurboApply, [this] { cmdTurboApply_Click(); });

    // Labels lie under the controls they share a place with.
    const auto addLabel = [this](const TwipRect& rect, const FontDescription& font, const wchar_t* text, COLORREF colour,
                                 DWORD style) {
        return host_.AddLabel({.parent = &window_, .rect = rect, .font = &font, .text = text, .textColour = colour,
                               .style = SS_NOPREFIX | style});
    };
    lblTurbo = addLabel({3120, 160, 1815, 255}, look::kPanelFont, L"Scan Subdirectories", look::kBlack, SS_NOTIFY);
    window_.OnClick(lblTurbo, [this] { lblTurbo_Click(); });
    const TwipRect searchForRects[] = {{2760, 600, 2055, 255}, {3000, 840, 1575, 255}, {3000, 1080, 1575, 255}};
    const wchar_t* const searchForTexts[] = {L"Search for", L"Themed apps", L"UnThemed apps"};
    for (size_t i = 0; i < lblTurboSearchFor.size(); ++i) {
        lblTurboSearchFor[i] = addLabel(searchForRects[i], look::kPanelFont, searchForTexts[i], look::kBlack, SS_NOTIFY);
        window_.OnClick(lblTurboSearchFor[i], [this, i] { lblTurboSearchFor_Click(static_cast<int>(i)); });
    }
    lblTurboScanning[1] = addLabel(kFolderLabelRect, kScanningFont, L"", look::kDarkGrey, 0);
    lblTurboScanning[0] = addLabel(kFileLabelRect, kScanningFont, L"", look::kDarkGrey, 0);
    for (HWND label : lblTurboScanning) Show(label, false);
    Line1 = host_.AddLabel({.parent = &window_, .rect = {120, 1560, 4800, 15}, .backColour = look::kStripGrey});
}

void TurboPanel::drvTurbo_Change() { dirTurbo.SetPath(drvTurbo.Drive()); }

void TurboPanel::lblTurbo_Click() { SetChecked(chkTurbo, !IsChecked(chkTurbo)); }

void TurboPanel::lblTurboSearchFor_Click(int index) {
    if (index < 1 || index > 2) return;
    SetChecked(optTurboSearchFor[0], index == 1);
    SetChecked(optTurboSearchFor[1], index == 2);
}

SearchMode TurboPanel::ChosenMode() const {
    return IsChecked(optTurboSearchFor[0]) ? SearchMode::Themed : SearchMode::Unthemed;
}

void TurboPanel::cmdTurboSearch_Click() {
    // A close meanwhile waits for the walk to end after the file in hand.
    const PanelHost::LongAction action(host_);
    StopRequested = false;
    for (HWND control : {drvTurbo.Handle(), chkTurbo, lblTurbo}) Enable(control, false);

    Show(lstTurbo.Handle(), false);
    Show(cmdTurboSearch, false);
    Show(cmdScannedResults, true);
    ShowApplyRow(false);
    Enable(cmdScannedResults, false);
    Show(cmdStopSearch, true);
    Show(cmdNewSearch, false);
    for (HWND option : optTurboSearchFor) Show(option, false);
    for (HWND label : lblTurboScanning) Show(label, true);
    for (HWND label : lblTurboSearchFor) Show(label, false);

    lstTurbo.Clear();
    lstTempTurbo.clear();
    Counters = {};
    const std::wstring startDirectory = dirTurbo.Path();
    for (HWND label : lblTurboScanning) SetText(label, L"");
    FitScanningLabels(L"");

    const SearchMode mode = ChosenMode();
    SearchPattern = SearchPatternOf(mode);
    SearchHeading = SearchHeadingOf(mode);
    SetText(cmdTurboApply, ApplyCaptionOf(mode));

    SearchOptions options;
    options.startDirectory = startDirectory;
    options.mode = mode;
    options.scanSubdirectories = IsChecked(chkTurbo);
    options.resultLimit = ResultLimit;
    SearchDisplay display(*this);
    ShowProgress(RunBatchSearch(options, display).progress);
    lstTurbo.AddMany(display.Lines());

    dirTurbo.SetPath(startDirectory);
    Enable(dirTurbo.Handle(), false);
    Enable(drvTurbo.Handle(), false);
    Enable(cmdScannedResults, true);
    Show(cmdStopSearch, false);
}

void TurboPanel::ShowProgress(const SearchProgress& progress) {
    Counters = progress.counters;
    FitScanningLabels(progress.directoryText);
    SetText(lblTurboScanning[1], progress.directoryText);
    SetText(lblTurboScanning[0], progress.fileText);
}

void TurboPanel::FitScanningLabels(const std::wstring& folderText) {
    const size_t lines = LineCount(folderText);
    if (lines == scanningFolderLines_) return;
    scanningFolderLines_ = lines;
    const TwipScale& scale = host_.Scale();
    RECT folder = scale.Rect(kFolderLabelRect.left, kFolderLabelRect.top, kFolderLabelRect.width,
                             kFolderLabelRect.height);
    RECT files = scale.Rect(kFileLabelRect.left, kFileLabelRect.top, kFileLabelRect.width, kFileLabelRect.height);
    const int needed = TextHeightIn(lblTurboScanning[1], folderText, folder.right - folder.left);
    const int extra = std::min(needed - static_cast<int>(folder.bottom - folder.top), static_cast<int>(files.bottom - files.top));
    if (extra > 0) {
        folder.bottom += extra;
        files.top += extra;
    }
    MoveTo(lblTurboScanning[1], folder);
    MoveTo(lblTurboScanning[0], files);
}

void TurboPanel::cmdNewSearch_Click() {
    Show(cmdNewSearch, false);
    for (HWND option : optTurboSearchFor) Show(option, true);
    Show(cmdStopSearch, false);
    ShowApplyRow(false);
    Show(cmdTurboSearch, true);
    for (HWND control : {dirTurbo.Handle(), drvTurbo.Handle(), chkTurbo, lblTurbo}) Enable(control, true);
    Show(lstTurbo.Handle(), false);
    for (HWND label : lblTurboScanning) Show(label, false);
    Show(cmdScannedResults, false);
    for (HWND label : lblTurboSearchFor) Show(label, true);
}

void TurboPanel::cmdScannedResults_Click() {
    Show(cmdScannedResults, false);
    Show(lstTurbo.Handle(), true);
    if (lstTurbo.Count() > 0) ShowApplyRow(true);
    Show(cmdStopSearch, false);
    Show(cmdNewSearch, true);
}

void TurboPanel::ShowApplyRow(bool shown) {
    for (HWND button : {cmdTurboApply, cmdTurboSelAll, cmdTurboUnselAll}) Show(button, shown);
}

std::optional<std::wstring> TurboPanel::ResultPathOfLine(int index) const {
    return ResultPathOf(lstTurbo.Text(index), lstTempTurbo);
}

void TurboPanel::lstTurbo_Click() {
    const int current = lstTurbo.Current();
    if (current < 0) return;
    if (const auto path = ResultPathOfLine(current)) host_.SetTooltip(lstTurbo.Handle(), *path);
}

void TurboPanel::cmdTurboApply_Click() {
    // A close meanwhile waits for the line in hand.
    const PanelHost::LongAction action(host_);
    StopRequested = false;
    const SearchMode searched = ChosenMode();
    ApplyDisplay display(*this, searched == SearchMode::Themed);
    Show(cmdStopSearch, true);
    ShowApplyRow(false);
    Show(cmdNewSearch, false);
    const FailureReport report = [&] {
        const DisabledControls disabled{host_.QuickMenuStrip()};
        DoEvents();
        FailureReport outcome = BatchApply(theming_).Run(searched, display.Executables(), display);
        DoEvents();
        return outcome;
    }();
    Show(cmdStopSearch, false);
    Show(cmdNewSearch, true);
    if (lstTurbo.Count() > 0) ShowApplyRow(true);
    host_.Report(report);
}
