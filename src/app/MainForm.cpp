#include "app/MainForm.h"

#include <commctrl.h>

#include <iterator>

#include "app/ControlIds.h"
#include "app/ResourceIds.h"
#include "platform/MessagePump.h"

namespace {

constexpr wchar_t kWindowClass[] = L"XpvMainForm";
constexpr wchar_t kCaption[] = L"Orlek - XP Vestrim";
constexpr int kClientWidthTwips = 5955;
constexpr int kClientHeightTwips = 4665;
constexpr UINT_PTR kQuickMenuTimer = 1;
constexpr int kHelpItem = 1;  // the Quick Menu's index of the Help panel
constexpr int kPanelLeft = 840, kPanelTop = 0, kPanelWidth = 5115, kPanelHeight = 4755;

std::wstring DirectoryOfExecutable() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return path;
    // A drive root keeps its backslash ("C:\"), as the platform reports it.
    return slash <= 2 ? path.substr(0, slash + 1) : path.substr(0, slash);
}

}  // namespace

MainForm::MainForm() : MainForm(Options{}) {}

MainForm::MainForm(const Options& options)
    : scale_(TwipScale::ForScreen()),
      applicationDirectory_(options.applicationDirectory.empty() ? DirectoryOfExecutable()
                                                                 : options.applicationDirectory),
      historyStore(HistoryFilePath()),
      theming(historyStore, [] { DoEvents(); }),
      quickMenu(*this),
      help(*this),
      vestrim(*this, theming),
      turbo(*this, theming),
      settings(*this),
      about(*this),
      history(*this, historyStore, theming),
      show_(options.show),
      endsProgram_(options.endsProgram),
      messageShown_(options.messageShown),
      fonts_(scale_) {}

MainForm::~MainForm() {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

bool MainForm::Create() {
    Form_Initialize();
    LoadPictures();

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.hIcon = appIcon_.get();
    windowClass.hIconSm = appIconSmall_.get();
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);  // fails harmlessly when a second form registers again

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_CONTROLPARENT;
    RECT frame{0, 0, scale_.ToPixels(kClientWidthTwips), scale_.ToPixels(kClientHeightTwips)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + ((work.right - work.left) - width) / 2;
    const int y = work.top + ((work.bottom - work.top) - height) / 2;
    window_ = CreateWindowExW(exStyle, kWindowClass, kCaption, style, x, y, width, height, nullptr,
                              nullptr, GetModuleHandleW(nullptr), this);
    if (!window_) return false;
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon_.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIconSmall_.get()));

    tooltips_.Create(window_);
    quickMenu.Create(window_, {&vestrim, &help, &about, &turbo, &history, &settings});
    // In the order of the window's layout; the Quick Menu decides which one shows.
    for (Panel* panel : std::initializer_list<Panel*>{&help, &vestrim, &turbo, &settings, &about, &history}) {
        panel->Create();
    }
    Form_Load();
    CreateShortcutKeys();
    if (show_) {
        ShowWindow(window_, SW_SHOW);
        UpdateWindow(window_);
    }
    SetTimer(window_, kQuickMenuTimer, 500, nullptr);
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

void MainForm::Form_Load() {
    SetListScrollWidths();
    vestrim.Drive1.SetDrive(applicationDirectory_.substr(0, 2));
    vestrim.Dir1.SetPath(applicationDirectory_);
    vestrim.Dir1_Change();
    quickMenu.Qmenu_Click(0);
    DoEvents();
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
    const int width = scale_.ScaleDesignPixels(info.bmWidth);
    const int height = scale_.ScaleDesignPixels(info.bmHeight);
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

bool MainForm::CreatePanelWindow(PanelWindow& window) {
    const PanelWindow::Look look{GetSysColor(COLOR_BTNFACE), background_.get(), true};
    return window.Create(window_, scale_.Rect(kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight), look, false);
}

void MainForm::ShowMessage(const std::wstring& text) {
    if (messageShown_) {
        messageShown_(text);
        return;
    }
    MessageBoxW(window_, text.c_str(), kCaption, MB_OK | MB_ICONWARNING);
}

void MainForm::LongActionEnded() {
    if (--longActionDepth_ == 0 && closeRequested_) PostMessageW(window_, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK MainForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<MainForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<MainForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    return form->HandleMessage(message, wParam, lParam);
}

// The Quick Menu answers the mouse only: Ctrl+Tab and Ctrl+Shift+Tab move down and up its
// items, as between the pages of a tabbed window, and F1 opens the help.
void MainForm::CreateShortcutKeys() {
    ACCEL keys[] = {{FVIRTKEY | FCONTROL, VK_TAB, kShortcutNextPanel},
                    {FVIRTKEY | FCONTROL | FSHIFT, VK_TAB, kShortcutPreviousPanel},
                    {FVIRTKEY, VK_F1, kShortcutHelp}};
    shortcutKeys_.reset(CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));
    SetShortcutKeys(window_, shortcutKeys_.get());
}

LRESULT MainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) != 1) break;  // only shortcut keys come to the window itself
            switch (LOWORD(wParam)) {
                case kShortcutNextPanel:
                    quickMenu.ShowItemInStrip(1);
                    return 0;
                case kShortcutPreviousPanel:
                    quickMenu.ShowItemInStrip(-1);
                    return 0;
                case kShortcutHelp:
                    quickMenu.Qmenu_Click(kHelpItem);
                    return 0;
                default:
                    break;
            }
            break;
        case WM_TIMER:
            if (wParam == kQuickMenuTimer) {
                quickMenu.tmrQuickMenu_Timer();
                return 0;
            }
            break;
        case WM_CLOSE:
            if (longActionDepth_ > 0) {
                // Destroying the controls under a running loop would pull them from under it.
                closeRequested_ = true;
                return 0;
            }
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            KillTimer(window_, kQuickMenuTimer);
            if (endsProgram_) PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY: {
            HWND window = window_;
            SetShortcutKeys(window, nullptr);
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            window_ = nullptr;
            return DefWindowProcW(window, message, wParam, lParam);
        }
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}
