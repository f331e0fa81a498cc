#include <windows.h>

#include <commctrl.h>

#include "app/Container.h"
#include "app/ControlIds.h"
#include "app/MainForm.h"
#include "platform/MessagePump.h"

namespace {

constexpr COLORREF kStripGrey = RGB(0x50, 0x50, 0x50);
constexpr COLORREF kStripText = RGB(0xE0, 0xE0, 0xE0);
constexpr UINT_PTR kSubclassId = 1;
const FontSpec kStripCaptionFont{L"Times New Roman", 9, true, false};

// Items by index; their places on the strip run 0, 3, 4, 5, 1, 2 from top to bottom.
constexpr int kItemTops[MainForm::kQuickMenuItems] = {620, 2940, 3520, 1200, 1780, 2360};
const wchar_t* const kItemTooltips[MainForm::kQuickMenuItems] = {
    L"Vestrim", L"Help", L"About", L"Turbo Vestrim", L"History", L"Settings"};

// How far right of the window's left edge the cursor may go before the raised button hides.
constexpr int kSelectorReachPixelsAt96 = 60;

}  // namespace

int MainForm::QmenuTop(int index) { return kItemTops[index]; }
int MainForm::QmenuSelectedTop() const { return qmenuSelectedTop_; }
int MainForm::QmenuSelectorTop() const { return qmenuSelectorTop_; }
HICON MainForm::QmenuIcon(int index) const { return qmenuIcons_[index].get(); }

void MainForm::CreateQuickMenu() {
    OutlookBar = Container::Create(window_, scale_.Rect(0, 0, 855, 4695),
                                   Container::Look{kStripGrey, nullptr, false}, true);

    lblQMenuTop = AddChild(OutlookBar, L"STATIC", L" Quick Menu", WS_VISIBLE | SS_CENTER, 0, 0, 40,
                           735, 495);
    SetColours(lblQMenuTop, kStripText, kStripGrey, true);
    SendMessageW(lblQMenuTop, WM_SETFONT, reinterpret_cast<WPARAM>(Font(kStripCaptionFont)), FALSE);

    // The frame lies under the icons; siblings clip each other so the order holds when painting.
    QmenuSelected = AddChild(OutlookBar, L"STATIC", L"", WS_VISIBLE | WS_CLIPSIBLINGS | SS_WHITEFRAME,
                             0, 0, qmenuSelectedTop_, 780, 615);

    for (int index = 0; index < kQuickMenuItems; ++index) {
        Qmenu[index] = AddChild(OutlookBar, L"STATIC", L"",
                                WS_VISIBLE | WS_CLIPSIBLINGS | SS_ICON | SS_NOTIFY | SS_REALSIZECONTROL,
                                kQmenuFirst + index, 120, kItemTops[index], 480, 480);
        SendMessageW(Qmenu[index], STM_SETICON, reinterpret_cast<WPARAM>(qmenuIcons_[index].get()), 0);
        SetColours(Qmenu[index], kStripText, kStripGrey, true);
        SetWindowSubclass(Qmenu[index], QuickMenuItemProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
        AddTooltip(Qmenu[index], kItemTooltips[index]);
    }
    SetWindowPos(QmenuSelected, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    QmenuSelector = AddChild(OutlookBar, L"BUTTON", L"", WS_CLIPSIBLINGS | BS_OWNERDRAW, kQmenuSelector,
                             0, qmenuSelectorTop_, 780, 595);
    SetWindowPos(QmenuSelector, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowSubclass(QmenuSelector, SelectorProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    AddTooltip(QmenuSelector, L"");

    imgQMenuBottom = AddChild(OutlookBar, L"STATIC", L"",
                              WS_VISIBLE | WS_CLIPSIBLINGS | SS_ICON | SS_NOTIFY | SS_REALSIZECONTROL,
                              kQmenuBottomImage, 120, 4080, 480, 480);
    SendMessageW(imgQMenuBottom, STM_SETICON, reinterpret_cast<WPARAM>(bottomIcon_.get()), 0);
    SetColours(imgQMenuBottom, kStripText, kStripGrey, true);
    AddTooltip(imgQMenuBottom, L"Patient Information Sheet");
    lblQMenuBottom = AddChild(OutlookBar, L"STATIC", L"XP Vestrim", WS_VISIBLE | WS_CLIPSIBLINGS | SS_CENTER,
                              0, 0, 4080, 735, 495);
    SetColours(lblQMenuBottom, kStripText, kStripGrey, true);
    SendMessageW(lblQMenuBottom, WM_SETFONT, reinterpret_cast<WPARAM>(Font(kStripCaptionFont)), FALSE);
}

void MainForm::Qmenu_Click(int index) {
    for (HWND panel : {picVestrim, picAbout, picHelp, picTurbo, picHistory, picSettings}) {
        ShowWindow(panel, SW_HIDE);
    }
    if (index >= 0 && index < kQuickMenuItems) {
        qmenuSelectedTop_ = kItemTops[index] - 80;
        const RECT frame = scale_.Rect(0, qmenuSelectedTop_, 780, 615);
        SetWindowPos(QmenuSelected, nullptr, frame.left, frame.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(QmenuSelector, SW_HIDE);
    InvalidateRect(OutlookBar, nullptr, TRUE);
    if (index < 0 || index >= kQuickMenuItems) return;
    // By item index: Vestrim, Help, About, Turbo Vestrim, History, Settings.
    const HWND panels[kQuickMenuItems] = {picVestrim, picHelp, picAbout, picTurbo, picHistory, picSettings};
    ShowWindow(panels[index], SW_SHOW);
    // The panels whose content follows the disk are read again every time they open.
    if (index == 0) RefreshAppLists();
    if (index == 4) LoadHistory();
}

void MainForm::Qmenu_MouseMove(int index) {
    if (index < 0 || index >= kQuickMenuItems) return;
    HoveredIndex = index;
    qmenuSelectorTop_ = kItemTops[index] - 80;
    const RECT button = scale_.Rect(0, qmenuSelectorTop_, 780, 595);
    SetWindowPos(QmenuSelector, HWND_TOP, button.left, button.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(QmenuSelector, qmenuSelectedTop_ == qmenuSelectorTop_ ? SW_HIDE : SW_SHOW);
    selectorIcon_ = qmenuIcons_[index].get();
    SetTooltip(QmenuSelector, TooltipOf(Qmenu[index]));
    InvalidateRect(QmenuSelector, nullptr, TRUE);
}

void MainForm::QmenuSelector_Click() { Qmenu_Click(HoveredIndex); }

void MainForm::tmrQuickMenu_Timer() {
    GetCursorPos(&CursorPoint);
    RECT frame{};
    GetWindowRect(window_, &frame);
    if (CursorPoint.x - frame.left > scale_.ScaleDesignPixels(kSelectorReachPixelsAt96)) {
        ShowWindow(QmenuSelector, SW_HIDE);
    }
    const bool captionShown = IsWindowVisible(lblQMenuBottom) != FALSE;
    ShowWindow(lblQMenuBottom, captionShown ? SW_HIDE : SW_SHOW);
    ShowWindow(imgQMenuBottom, captionShown ? SW_SHOW : SW_HIDE);
}

void MainForm::DrawSelector(const DRAWITEMSTRUCT& item) {
    RECT face = item.rcItem;
    BrushHandle grey(CreateSolidBrush(kStripGrey));
    FillRect(item.hDC, &face, grey.get());
    DrawEdge(item.hDC, &face, (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    if (selectorIcon_) {
        const int size = scale_.ScaleDesignPixels(32);
        const int pressed = (item.itemState & ODS_SELECTED) ? 1 : 0;
        DrawIconEx(item.hDC, face.left + (face.right - face.left - size) / 2 + pressed,
                   face.top + (face.bottom - face.top - size) / 2 + pressed, selectorIcon_, size,
                   size, 0, nullptr, DI_NORMAL);
    }
}

LRESULT CALLBACK MainForm::QuickMenuItemProc(HWND item, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR self) {
    if (message == WM_MOUSEMOVE) {
        auto* form = reinterpret_cast<MainForm*>(self);
        form->Qmenu_MouseMove(GetDlgCtrlID(item) - kQmenuFirst);
    }
    return DefSubclassProc(item, message, wParam, lParam);
}

LRESULT CALLBACK MainForm::SelectorProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR self) {
    auto* form = reinterpret_cast<MainForm*>(self);
    if (message == WM_SETCURSOR && form->selectorCursor_) {
        SetCursor(form->selectorCursor_);
        return TRUE;
    }
    return DefSubclassProc(button, message, wParam, lParam);
}
