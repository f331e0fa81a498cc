#include "app/MainForm.h"

#include <commctrl.h>

#include <iterator>

#include "app/ResourceIds.h"
#include "history/HistoryLocation.h"
#include "app/MessagePump.h"
#include "platform/ProgramFolder.h"

namespace {

constexpr wchar_t kWindowClass[] = L"XpvMainForm";
constexpr wchar_t kCaption[] = L"Orlek - XP Vestrim";
constexpr int kClientWidthTwips = 5955;
constexpr int kClientHeightTwips = 4665;
constexpr UINT_PTR kQuickMenuTimer = 1;
constexpr int kPanelLeft = 840, kPanelTop = 0, kPanelWidth = 5115, kPanelHeight = 4755;

// The commands of the window's shortcut keys.
enum ShortcutCommand : WORD {
    kShortcutNextPanel = 900,
    kShortcutPreviousPanel,
    kShortcutHelp,
};

}  // namespace

MainForm::MainForm() : MainForm(Options{}) {}

MainForm::MainForm(const Options& options)
    : applicationDirectory_(options.applicationDirectory.empty() ? ProgramFolder() : options.applicationDirectory),
      controls_(TwipScale::ForScreen()),
      historyStore_(ChooseHistoryFile(applicationDirectory_)),
      theming_(historyStore_, [] { DoEvents(); }),
      quickMenu_(*this, controls_),
      show_(options.show),
      endsProgram_(options.endsProgram),
      messageShown_(options.messageShown),
      questionAsked_(options.questionAsked) {
    const PanelParts parts{*this, controls_, historyStore_, theming_, applicationDirectory_ + L"\\settings.db"};
    for (size_t index = 0; index < kPanelCount; ++index) panels_[index] = kPanels[index].make(parts);
}

// The window goes while the panels it shows are still whole.
MainForm::~MainForm() { Destroy(); }

bool MainForm::Create() {
    Form_Initialize();
    LoadPictures();

    RegisterBoundClass(kWindowClass, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_CONTROLPARENT;
    const TwipScale& scale = controls_.Scale();
    RECT frame{0, 0, scale.ToPixels(kClientWidthTwips), scale.ToPixels(kClientHeightTwips)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + ((work.right - work.left) - width) / 2;
    const int y = work.top + ((work.bottom - work.top) - height) / 2;
    if (!CreateBound(kWindowClass, {exStyle, kCaption, style, RECT{x, y, x + width, y + height}, nullptr})) {
        return false;
    }
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon_.get()));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIconSmall_.get()));

    const PanelPlace place{scale.Rect(kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight),
                           {GetSysColor(COLOR_BTNFACE), background_.get(), true}};
    quickMenu_.Create(Handle(), panels_, place);
    Form_Load();
    CreateShortcutKeys();
    if (show_) ShowWindow(Handle(), SW_SHOW);
    quickMenu_.FocusOpenPanel();
    if (show_) UpdateWindow(Handle());
    // Nobody points at a control before the window shows.
    controls_.CreateTooltips(Handle());
    SetTimer(Handle(), kQuickMenuTimer, 500, nullptr);
    return true;
}

int MainForm::Run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchWindowMessage(message);
    return static_cast<int>(message.wParam);
}

void MainForm::Form_Initialize() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
}

// The first panel opens on the application directory; nothing else is made or run before the
// window shows: what its controls leave queued waits for the message loop.
void MainForm::Form_Load() {
    PanelOf<VestrimPanel>().OpenFolder(applicationDirectory_);
    quickMenu_.OpenBeforeShown(0);
}

void MainForm::LoadPictures() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto loadIcon = [&](int size) {
        return IconHandle(static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    };
    appIcon_ = loadIcon(GetSystemMetrics(SM_CXICON));
    appIconSmall_ = loadIcon(GetSystemMetrics(SM_CXSMICON));

    // The panels' picture is drawn at the panel's top left, scaled with the screen's DPI.
    BitmapHandle original(static_cast<HBITMAP>(LoadImageW(
        instance, MAKEINTRESOURCEW(IDB_PANEL_BACKGROUND), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!original) return;
    BITMAP info{};
    GetObjectW(original.get(), sizeof(info), &info);
    const TwipScale& scale = controls_.Scale();
    const int width = scale.ScaleDesignPixels(info.bmWidth);
    const int height = scale.ScaleDesignPixels(info.bmHeight);
    if (width == info.bmWidth && height == info.bmHeight) {
        background_ = std::move(original);
        return;
    }
    WindowDc screen(nullptr);
    MemoryDc source(screen.get());
    MemoryDc target(screen.get());
    background_.reset(CreateCompatibleBitmap(screen.get(), width, height));
    SelectedObject from(source.get(), original.get());
    SelectedObject to(target.get(), background_.get());
    SetStretchBltMode(target.get(), HALFTONE);
    SetBrushOrgEx(target.get(), 0, 0, nullptr);
    StretchBlt(target.get(), 0, 0, width, height, source.get(), 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
}

void MainForm::ShowMessage(const std::wstring& text) {
    if (messageShown_) {
        messageShown_(text);
        return;
    }
    MessageBoxW(Handle(), text.c_str(), kCaption, MB_OK | MB_ICONWARNING);
}

ExternalManifestDecision::Answer MainForm::Ask(const std::wstring& question) {
    if (questionAsked_) return questionAsked_(question);
    switch (MessageBoxW(Handle(), question.c_str(), kCaption, MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES:
            return ExternalManifestDecision::Answer::Yes;
        case IDNO:
            return ExternalManifestDecision::Answer::No;
        default:
            return ExternalManifestDecision::Answer::Cancel;
    }
}

void MainForm::LongActionEnded() {
    if (--longActionDepth_ == 0 && closeRequested_) PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

// The Quick Menu answers the mouse only: Ctrl+Tab and Ctrl+Shift+Tab move down and up its
// items, as between the pages of a tabbed window, and F1 opens the help; none of them while the
// strip is disabled, as it is while an action runs.
void MainForm::CreateShortcutKeys() {
    ACCEL keys[] = {{FVIRTKEY | FCONTROL, VK_TAB, kShortcutNextPanel},
                    {FVIRTKEY | FCONTROL | FSHIFT, VK_TAB, kShortcutPreviousPanel},
                    {FVIRTKEY, VK_F1, kShortcutHelp}};
    shortcutKeys_.reset(CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));
    SetShortcutKeys(Handle(), shortcutKeys_.get());
}

LRESULT MainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) != 1) break;  // only shortcut keys come to the window itself
            // The keys follow the mouse: a panel shown during an action would be rebuilt under it.
            if (!IsWindowEnabled(quickMenu_.OutlookBar())) return 0;
            switch (LOWORD(wParam)) {
                case kShortcutNextPanel:
                    quickMenu_.ShowItemInStrip(1);
                    return 0;
                case kShortcutPreviousPanel:
                    quickMenu_.ShowItemInStrip(-1);
                    return 0;
                case kShortcutHelp:
                    quickMenu_.Qmenu_Click(PanelIndex<HelpPanel>());
                    return 0;
                default:
                    break;
            }
            break;
        case WM_TIMER:
            if (wParam == kQuickMenuTimer) {
                quickMenu_.tmrQuickMenu_Timer();
                return 0;
            }
            break;
        case WM_CLOSE:
            if (longActionDepth_ > 0) {
                // Destroying the controls under a running loop would pull them from under it.
                closeRequested_ = true;
                return 0;
            }
            DestroyWindow(Handle());
            return 0;
        case WM_DESTROY:
            KillTimer(Handle(), kQuickMenuTimer);
            if (endsProgram_) PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            SetShortcutKeys(Handle(), nullptr);
            break;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}
