#include "app/MainForm.h"

#include <commctrl.h>

#include "app/Container.h"
#include "app/ControlIds.h"
#include "app/ResourceIds.h"
#include "platform/MessagePump.h"

namespace {

constexpr wchar_t kWindowClass[] = L"XpvMainForm";
constexpr wchar_t kCaption[] = L"Orlek - XP Vestrim";
constexpr int kClientWidthTwips = 5955;
constexpr int kClientHeightTwips = 4665;
constexpr UINT_PTR kQuickMenuTimer = 1;
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

const FontSpec MainForm::kTurboListFont{L"Arial", 8.25, true, false};
const FontSpec MainForm::kHistoryListFont{L"Arial", 8.25, true, false};
const FontSpec MainForm::kSettingsListFont{L"Arial", 9, true, false};

MainForm::MainForm() : scale_(TwipScale::ForScreen()) {}

MainForm::~MainForm() {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

bool MainForm::Create(const Options& options) {
    endsProgram_ = options.endsProgram;
    applicationDirectory_ =
        options.applicationDirectory.empty() ? DirectoryOfExecutable() : options.applicationDirectory;
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

    CreateControls();
    Form_Load();
    if (options.show) {
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
    Drive1.SetDrive(applicationDirectory_.substr(0, 2));
    Dir1.SetPath(applicationDirectory_);
    Dir1_Change();
    Qmenu_Click(0);
    DoEvents();
}

void MainForm::LoadPictures() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const int iconSize = scale_.ScaleDesignPixels(32);
    auto loadIcon = [&](int id, int size) {
        return IconHandle(static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    };
    appIcon_ = loadIcon(IDI_APP, GetSystemMetrics(SM_CXICON));
    appIconSmall_ = loadIcon(IDI_APP, GetSystemMetrics(SM_CXSMICON));
    // By item index: Vestrim, Help, About, Turbo Vestrim, History, Settings.
    const int itemIcons[kQuickMenuItems] = {IDI_QMENU_VESTRIM, IDI_QMENU_HELP,    IDI_QMENU_ABOUT,
                                            IDI_QMENU_TURBO,   IDI_QMENU_HISTORY, IDI_QMENU_SETTINGS};
    for (int i = 0; i < kQuickMenuItems; ++i) qmenuIcons_[i] = loadIcon(itemIcons[i], iconSize);
    bottomIcon_ = loadIcon(IDI_QMENU_BOTTOM, iconSize);
    selectorCursor_ = static_cast<HCURSOR>(LoadImageW(instance, MAKEINTRESOURCEW(IDC_QMENU_SELECTOR),
                                                      IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));

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

void MainForm::CreateControls() {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    CreateQuickMenu();
    CreatePanels();
    CreateVestrimPanel();
    CreateWideLists();
    CreateHistoryPanel();
}

void MainForm::CreatePanels() {
    const Container::Look look{GetSysColor(COLOR_BTNFACE), background_.get(), true};
    const RECT rect = scale_.Rect(kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight);
    // In the order of the window's layout; the Quick Menu decides which one shows.
    picHelp = Container::Create(window_, rect, look, false);
    picVestrim = Container::Create(window_, rect, look, false);
    picTurbo = Container::Create(window_, rect, look, false);
    picSettings = Container::Create(window_, rect, look, false);
    picAbout = Container::Create(window_, rect, look, false);
    picHistory = Container::Create(window_, rect, look, false);
}

void MainForm::CreateWideLists() {
    const CheckList::Style sorted{true};
    const CheckList::Style unsorted{false};
    checkLists_.insert(checkLists_.end(), {&lstTurbo, &lstHistory, &lstSettings});
    lstTurbo.Create(picTurbo, kLstTurbo, scale_.Rect(120, 1560, 4815, 2700), sorted,
                    Font(kTurboListFont), scale_.Dpi());
    ShowWindow(lstTurbo.Handle(), SW_HIDE);
    lstHistory.Create(picHistory, kLstHistory, scale_.Rect(120, 120, 4815, 4140), sorted,
                      Font(kHistoryListFont), scale_.Dpi());
    lstSettings.Create(picSettings, kLstSettings, scale_.Rect(1440, 120, 3495, 3885), unsorted,
                       Font(kSettingsListFont), scale_.Dpi());
}

HWND MainForm::AddChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style,
                        int id, int left, int top, int width, int height, DWORD exStyle) {
    const RECT rect = scale_.Rect(left, top, width, height);
    return CreateWindowExW(exStyle, className, text, WS_CHILD | style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

HFONT MainForm::Font(const FontSpec& wanted) {
    for (const auto& [known, handle] : fonts_) {
        if (known.face == wanted.face && known.points == wanted.points && known.bold == wanted.bold &&
            known.italic == wanted.italic) {
            return handle.get();
        }
    }
    fonts_.emplace_back(wanted, CreateFontFor(wanted, scale_));
    return fonts_.back().second.get();
}

void MainForm::SetColours(HWND control, COLORREF text, COLORREF back, bool transparent) {
    colours_[control] = Colours{text, transparent ? nullptr : BrushHandle(CreateSolidBrush(back))};
}

void MainForm::AddTooltip(HWND control, const std::wstring& text) {
    tooltips_[control] = text;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = tooltips_[control].data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainForm::SetTooltip(HWND control, const std::wstring& text) {
    if (!tooltips_.count(control)) {
        AddTooltip(control, text);
        return;
    }
    tooltips_[control] = text;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = tooltips_[control].data();
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring MainForm::TooltipOf(HWND control) const {
    const auto found = tooltips_.find(control);
    return found == tooltips_.end() ? std::wstring() : found->second;
}

LRESULT MainForm::ControlColour(HDC dc, HWND control, UINT message) {
    const auto found = colours_.find(control);
    if (found == colours_.end()) {
        if (CheckList* list = CheckListFor(control)) {
            SetTextColor(dc, list->TextColour());
            return reinterpret_cast<LRESULT>(list->BackgroundBrush());
        }
        if (control == Dir1.Handle()) {
            SetTextColor(dc, Dir1.TextColour());
            return reinterpret_cast<LRESULT>(Dir1.BackgroundBrush());
        }
        return DefWindowProcW(window_, message, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(control));
    }
    SetTextColor(dc, found->second.text);
    if (!found->second.back) {
        return reinterpret_cast<LRESULT>(
            Container::TransparentBackgroundFor(GetParent(control), control, dc));
    }
    LOGBRUSH brush{};
    GetObjectW(found->second.back.get(), sizeof(brush), &brush);
    SetBkColor(dc, brush.lbColor);
    return reinterpret_cast<LRESULT>(found->second.back.get());
}

CheckList* MainForm::CheckListFor(HWND control) {
    for (CheckList* list : checkLists_) {
        if (list->Handle() == control) return list;
    }
    return nullptr;
}

HWND MainForm::AddLabel(HWND parent, const wchar_t* text, COLORREF colour, const FontSpec& font,
                        int left, int top, int width, int height, DWORD align) {
    // Labels lie under every other control of their panel and never paint over one they overlap.
    HWND label = AddChild(parent, L"STATIC", text, WS_VISIBLE | WS_CLIPSIBLINGS | align, 0, left, top,
                          width, height);
    SetWindowPos(label, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(Font(font)), FALSE);
    SetColours(label, colour, 0, true);
    return label;
}

HWND MainForm::AddButton(HWND parent, const wchar_t* text, int id, const FontSpec& font, int left,
                         int top, int width, int height, const wchar_t* tooltip) {
    HWND button = AddChild(parent, L"BUTTON", text, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, id, left,
                           top, width, height);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(Font(font)), FALSE);
    if (tooltip) AddTooltip(button, tooltip);
    return button;
}

HWND MainForm::AddTextBox(HWND parent, int id, const FontSpec& font, COLORREF text, COLORREF back,
                          int left, int top, int width, int height) {
    HWND box = AddChild(parent, L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, id, left, top,
                        width, height, WS_EX_CLIENTEDGE);
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(Font(font)), FALSE);
    SetColours(box, text, back, false);
    return box;
}

std::wstring MainForm::TextOf(HWND control) const {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
    return text;
}

void MainForm::SetText(HWND control, const std::wstring& text) { SetWindowTextW(control, text.c_str()); }

MainForm::LongAction::LongAction(MainForm& form) : form_(form) { ++form_.longActionDepth_; }

MainForm::LongAction::~LongAction() {
    if (--form_.longActionDepth_ == 0 && form_.closeRequested_) {
        PostMessageW(form_.window_, WM_CLOSE, 0, 0);
    }
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

LRESULT MainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HandleCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return 0;
            break;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.hwndItem == Drive1.Handle()) {
                Drive1.DrawItem(item);
                return TRUE;
            }
            if (item.hwndItem == Dir1.Handle()) {
                Dir1.DrawItem(item);
                return TRUE;
            }
            if (item.hwndItem == QmenuSelector) {
                DrawSelector(item);
                return TRUE;
            }
            if (CheckList* list = CheckListFor(item.hwndItem)) {
                list->DrawItem(item);
                return TRUE;
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
            return ControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message);
        case WM_TIMER:
            if (wParam == kQuickMenuTimer) {
                tmrQuickMenu_Timer();
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
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            window_ = nullptr;
            return DefWindowProcW(window, message, wParam, lParam);
        }
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

bool MainForm::HandleCommand(int id, WORD notification, HWND control) {
    if (CheckList* list = CheckListFor(control)) {
        list->Command(notification);
        return true;
    }
    if (id >= kQmenuFirst && id < kQmenuFirst + kQuickMenuItems) {
        if (notification == STN_CLICKED) Qmenu_Click(id - kQmenuFirst);
        return true;
    }
    if (id == kQmenuSelector && notification == BN_CLICKED) {
        QmenuSelector_Click();
        return true;
    }
    return HandleVestrimCommand(id, notification, control) || HandleHistoryCommand(id, notification);
}
