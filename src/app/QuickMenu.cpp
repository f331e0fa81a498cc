#include "app/QuickMenu.h"

#include <algorithm>

#include <commctrl.h>

#include "app/ControlIds.h"
#include "app/Look.h"
#include "app/ResourceIds.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;
const FontDescription kStripCaptionFont{L"Times New Roman", 9, true, false};

// Items by index; their places on the strip run 0, 3, 4, 5, 1, 2 from top to bottom.
constexpr int kItemTops[QuickMenu::kItems] = {620, 2940, 3520, 1200, 1780, 2360};
const wchar_t* const kItemTooltips[QuickMenu::kItems] = {
    L"Vestrim", L"Help", L"About", L"Turbo Vestrim", L"History", L"Settings"};
constexpr int kItemIcons[QuickMenu::kItems] = {IDI_QMENU_VESTRIM, IDI_QMENU_HELP,    IDI_QMENU_ABOUT,
                                               IDI_QMENU_TURBO,   IDI_QMENU_HISTORY, IDI_QMENU_SETTINGS};

// How far right of the window's left edge the cursor may go before the raised button hides.
constexpr int kSelectorReachPixelsAt96 = 60;

}  // namespace

int QuickMenu::QmenuTop(int index) { return kItemTops[index]; }

void QuickMenu::LoadPictures() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const int size = host_.Scale().ScaleDesignPixels(32);
    auto loadIcon = [&](int id) {
        return IconHandle(static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    };
    for (int i = 0; i < kItems; ++i) icons_[i] = loadIcon(kItemIcons[i]);
    bottomIcon_ = loadIcon(IDI_QMENU_BOTTOM);
    selectorCursor_ = static_cast<HCURSOR>(LoadImageW(instance, MAKEINTRESOURCEW(IDC_QMENU_SELECTOR),
                                                      IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

HWND QuickMenu::AddIcon(int id, int top, HICON icon) {
    HWND image = host_.AddChild({.parent = &strip_, .id = id, .rect = {120, top, 480, 480},
                                 .style = WS_VISIBLE | WS_CLIPSIBLINGS | SS_ICON | SS_NOTIFY | SS_REALSIZECONTROL},
                                L"STATIC");
    SendMessageW(image, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    strip_.SetColours(image, look::kLightGrey, std::nullopt);
    return image;
}

HWND QuickMenu::AddCaption(const wchar_t* text, int top, DWORD style) {
    HWND caption = host_.AddChild({.parent = &strip_, .rect = {0, top, 735, 495}, .font = &kStripCaptionFont,
                                   .text = text, .style = WS_VISIBLE | SS_CENTER | style},
                                  L"STATIC");
    strip_.SetColours(caption, look::kLightGrey, std::nullopt);
    return caption;
}

void QuickMenu::Create(HWND form, const std::array<Panel*, kItems>& panels) {
    form_ = form;
    panels_ = panels;
    LoadPictures();
    strip_.Create(form, host_.Scale().Rect(0, 0, 855, 4695), PanelWindow::Look{look::kStripGrey, nullptr, false},
                  true);

    lblQMenuTop = AddCaption(L" Quick Menu", 40, 0);

    // The frame lies under the icons; siblings clip each other so the order holds when painting.
    QmenuSelected = host_.AddChild({.parent = &strip_, .rect = {0, selectedTop_, 780, 615},
                                    .style = WS_VISIBLE | WS_CLIPSIBLINGS | SS_WHITEFRAME},
                                   L"STATIC");

    for (int index = 0; index < kItems; ++index) {
        Qmenu[index] = AddIcon(kQmenuFirst + index, kItemTops[index], icons_[index].get());
        SetWindowSubclass(Qmenu[index], QuickMenuItemProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
        host_.SetTooltip(Qmenu[index], kItemTooltips[index]);
        strip_.OnClick(Qmenu[index], [this, index] { Qmenu_Click(index); });
    }
    SetWindowPos(QmenuSelected, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    QmenuSelector = host_.AddChild({.parent = &strip_, .id = kQmenuSelector, .rect = {0, selectorTop_, 780, 595},
                                    .style = WS_CLIPSIBLINGS | BS_OWNERDRAW},
                                   L"BUTTON");
    SetWindowPos(QmenuSelector, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowSubclass(QmenuSelector, SelectorProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    host_.SetTooltip(QmenuSelector, L"");
    strip_.OnClick(QmenuSelector, [this] { QmenuSelector_Click(); });
    strip_.OnDrawItem(QmenuSelector, [this](const DRAWITEMSTRUCT& item) { DrawSelector(item); });

    imgQMenuBottom = AddIcon(kQmenuBottomImage, 4080, bottomIcon_.get());
    host_.SetTooltip(imgQMenuBottom, L"Patient Information Sheet");
    // It shares its place with the bottom icon and takes turns with it.
    lblQMenuBottom = AddCaption(L"XP Vestrim", 4080, WS_CLIPSIBLINGS);
}

void QuickMenu::Qmenu_Click(int index) {
    // A panel's "shown" step may yield: a close meanwhile waits for it.
    const PanelHost::LongAction action(host_);
    for (int item : {0, 2, 1, 3, 4, 5}) ShowWindow(panels_[item]->Window(), SW_HIDE);
    if (index >= 0 && index < kItems) {
        selectedTop_ = kItemTops[index] - 80;
        const RECT frame = host_.Scale().Rect(0, selectedTop_, 780, 615);
        SetWindowPos(QmenuSelected, nullptr, frame.left, frame.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(QmenuSelector, SW_HIDE);
    InvalidateRect(OutlookBar(), nullptr, TRUE);
    if (index < 0 || index >= kItems) return;
    // Focus left in a hidden panel would leave the keyboard nowhere: it moves to the first
    // control of the panel shown (to the window when that panel has none).
    const HWND focus = GetFocus();
    const HWND shown = panels_[index]->Window();
    ShowWindow(shown, SW_SHOW);
    if (focus == nullptr || !IsWindowVisible(focus)) {
        const HWND first = GetNextDlgTabItem(shown, nullptr, FALSE);
        SetFocus(first && IsChild(shown, first) ? first : form_);
    }
    panels_[index]->Shown();
}

int QuickMenu::SelectedIndex() const {
    for (int index = 0; index < kItems; ++index) {
        if (kItemTops[index] - 80 == selectedTop_) return index;
    }
    return -1;
}

void QuickMenu::ShowItemInStrip(int step) {
    std::array<int, kItems> stripOrder{};
    for (int index = 0; index < kItems; ++index) stripOrder[index] = index;
    std::sort(stripOrder.begin(), stripOrder.end(), [](int a, int b) { return kItemTops[a] < kItemTops[b]; });
    const auto at = std::find(stripOrder.begin(), stripOrder.end(), SelectedIndex());
    const int position = at == stripOrder.end() ? 0 : static_cast<int>(at - stripOrder.begin());
    Qmenu_Click(stripOrder[((position + step) % kItems + kItems) % kItems]);
}

void QuickMenu::Qmenu_MouseMove(int index) {
    if (index < 0 || index >= kItems) return;
    HoveredIndex = index;
    selectorTop_ = kItemTops[index] - 80;
    const RECT button = host_.Scale().Rect(0, selectorTop_, 780, 595);
    SetWindowPos(QmenuSelector, HWND_TOP, button.left, button.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(QmenuSelector, selectedTop_ == selectorTop_ ? SW_HIDE : SW_SHOW);
    selectorIcon_ = icons_[index].get();
    host_.SetTooltip(QmenuSelector, host_.TooltipOf(Qmenu[index]));
    InvalidateRect(QmenuSelector, nullptr, TRUE);
}

void QuickMenu::QmenuSelector_Click() { Qmenu_Click(HoveredIndex); }

void QuickMenu::tmrQuickMenu_Timer() {
    GetCursorPos(&CursorPoint);
    RECT frame{};
    GetWindowRect(form_, &frame);
    if (CursorPoint.x - frame.left > host_.Scale().ScaleDesignPixels(kSelectorReachPixelsAt96)) {
        ShowWindow(QmenuSelector, SW_HIDE);
    }
    const bool captionShown = IsWindowVisible(lblQMenuBottom) != FALSE;
    ShowWindow(lblQMenuBottom, captionShown ? SW_HIDE : SW_SHOW);
    ShowWindow(imgQMenuBottom, captionShown ? SW_SHOW : SW_HIDE);
}

void QuickMenu::DrawSelector(const DRAWITEMSTRUCT& item) {
    RECT face = item.rcItem;
    BrushHandle grey(CreateSolidBrush(look::kStripGrey));
    FillRect(item.hDC, &face, grey.get());
    DrawEdge(item.hDC, &face, (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    if (selectorIcon_) {
        const int size = host_.Scale().ScaleDesignPixels(32);
        const int pressed = (item.itemState & ODS_SELECTED) ? 1 : 0;
        DrawIconEx(item.hDC, face.left + (face.right - face.left - size) / 2 + pressed,
                   face.top + (face.bottom - face.top - size) / 2 + pressed, selectorIcon_, size,
                   size, 0, nullptr, DI_NORMAL);
    }
}

LRESULT CALLBACK QuickMenu::QuickMenuItemProc(HWND item, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR, DWORD_PTR self) {
    if (message == WM_MOUSEMOVE) {
        reinterpret_cast<QuickMenu*>(self)->Qmenu_MouseMove(GetDlgCtrlID(item) - kQmenuFirst);
    }
    return DefSubclassProc(item, message, wParam, lParam);
}

LRESULT CALLBACK QuickMenu::SelectorProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR self) {
    auto* menu = reinterpret_cast<QuickMenu*>(self);
    if (message == WM_SETCURSOR && menu->selectorCursor_) {
        SetCursor(menu->selectorCursor_);
        return TRUE;
    }
    return DefSubclassProc(button, message, wParam, lParam);
}
