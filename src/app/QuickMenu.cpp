#include "app/QuickMenu.h"

#include <commctrl.h>

#include "app/Look.h"
#include "app/ResourceIds.h"
#include "app/WindowSubclass.h"

namespace {

const FontDescription kStripCaptionFont{L"Times New Roman", 9, true, false};

// Twips: the first item's top on the strip, and the step to the next one down.
constexpr int kFirstItemTop = 620;
constexpr int kItemStep = 580;
// The frame on the open item and the raised button stand this far above the item's icon.
constexpr int kFrameAboveItem = 80;

constexpr int ItemTop(size_t index) { return kFirstItemTop + kItemStep * static_cast<int>(index); }

// How far right of the window's left edge the cursor may go before the raised button hides.
constexpr int kSelectorReachPixelsAt96 = 60;

}  // namespace

void QuickMenu::LoadPictures() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const int size = controls_.Scale().ScaleDesignPixels(32);
    auto loadIcon = [&](int id) {
        return IconHandle(static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    };
    for (size_t i = 0; i < kPanelCount; ++i) icons_[i] = loadIcon(kPanels[i].icon);
    bottomIcon_ = loadIcon(IDI_QMENU_BOTTOM);
    selectorCursor_ = static_cast<HCURSOR>(LoadImageW(instance, MAKEINTRESOURCEW(IDC_QMENU_SELECTOR),
                                                      IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

HWND QuickMenu::AddIcon(int id, int top, HICON icon) {
    HWND image = controls_.AddChild({.parent = &strip_, .id = id, .rect = {120, top, 480, 480},
                                     .style = WS_VISIBLE | WS_CLIPSIBLINGS | SS_ICON | SS_NOTIFY | SS_REALSIZECONTROL},
                                    L"STATIC");
    SendMessageW(image, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    strip_.SetColours(image, look::kLightGrey, std::nullopt);
    return image;
}

HWND QuickMenu::AddCaption(int id, const wchar_t* text, int top, DWORD style) {
    HWND caption = controls_.AddChild({.parent = &strip_, .id = id, .rect = {0, top, 735, 495},
                                       .font = &kStripCaptionFont, .text = text, .style = WS_VISIBLE | SS_CENTER | style},
                                      L"STATIC");
    strip_.SetColours(caption, look::kLightGrey, std::nullopt);
    return caption;
}

void QuickMenu::Create(HWND form, const std::array<std::unique_ptr<Panel>, kPanelCount>& panels,
                       const PanelPlace& place) {
    form_ = form;
    panels_ = &panels;
    place_ = place;
    LoadPictures();
    strip_.Create(form, controls_.Scale().Rect(0, 0, 855, 4695), PanelWindow::Look{look::kStripGrey, nullptr, false},
                  true);

    AddCaption(kLblQMenuTop, L" Quick Menu", 40, 0);

    // The frame lies under the icons; siblings clip each other so the order holds when painting.
    selectedFrame_ = controls_.AddChild({.parent = &strip_, .id = kQmenuSelected, .rect = {0, selectedTop_, 780, 615},
                                         .style = WS_VISIBLE | WS_CLIPSIBLINGS | SS_WHITEFRAME},
                                        L"STATIC");

    for (size_t index = 0; index < kPanelCount; ++index) {
        const HWND item = AddIcon(kQmenuFirst + static_cast<int>(index), ItemTop(index), icons_[index].get());
        items_[index] = item;
        itemHovers_[index].Attach(item, [this, item, index](UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_MOUSEMOVE) Qmenu_MouseMove(index);
            return DefaultSubclassProc(item, message, wParam, lParam);
        });
        controls_.SetTooltip(item, kPanels[index].tooltip);
        strip_.OnClick(item, [this, index] { Qmenu_Click(index); });
    }
    SetWindowPos(selectedFrame_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    selector_ = controls_.AddChild({.parent = &strip_, .id = kQmenuSelector, .rect = {0, selectorTop_, 780, 595},
                                    .style = WS_CLIPSIBLINGS | BS_OWNERDRAW, .onClick = [this] { QmenuSelector_Click(); }},
                                   L"BUTTON");
    SetWindowPos(selector_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    selectorPointer_.Attach(selector_, [this](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_SETCURSOR && selectorCursor_) {
            SetCursor(selectorCursor_);
            return TRUE;
        }
        return DefaultSubclassProc(selector_, message, wParam, lParam);
    });
    controls_.SetTooltip(selector_, L"");
    strip_.OnDrawItem(selector_, [this](const DRAWITEMSTRUCT& item) { DrawSelector(item); });

    bottomImage_ = AddIcon(kImgQMenuBottom, 4080, bottomIcon_.get());
    controls_.SetTooltip(bottomImage_, L"Patient Information Sheet");
    // It shares its place with the bottom icon and takes turns with it.
    bottomCaption_ = AddCaption(kLblQMenuBottom, L"XP Vestrim", 4080, WS_CLIPSIBLINGS);
}

void QuickMenu::Qmenu_Click(size_t index) { Open(index, true); }

void QuickMenu::OpenBeforeShown(size_t index) { Open(index, false); }

void QuickMenu::Open(size_t index, bool moveFocus) {
    // A panel's "shown" step may yield: a close meanwhile waits for it.
    const PanelHost::LongAction action(host_);
    for (const std::unique_ptr<Panel>& panel : *panels_) {
        if (panel->Window()) ShowWindow(panel->Window(), SW_HIDE);
    }
    const bool known = index < kPanelCount;
    if (known) {
        open_ = index;
        selectedTop_ = ItemTop(index) - kFrameAboveItem;
        const RECT frame = controls_.Scale().Rect(0, selectedTop_, 780, 615);
        SetWindowPos(selectedFrame_, nullptr, frame.left, frame.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(selector_, SW_HIDE);
    InvalidateRect(OutlookBar(), nullptr, TRUE);
    if (!known) return;
    Panel& panel = *(*panels_)[index];
    panel.Create(form_, place_);
    // Focus left in a hidden panel would leave the keyboard nowhere: it moves to the first
    // control of the panel shown (to the window when that panel has none).
    const HWND focus = GetFocus();
    ShowWindow(panel.Window(), SW_SHOW);
    if (moveFocus && (focus == nullptr || !IsWindowVisible(focus))) FocusOpenPanel();
    panel.Shown();
}

void QuickMenu::FocusOpenPanel() {
    const HWND shown = open_ ? (*panels_)[*open_]->Window() : nullptr;
    const HWND first = shown ? GetNextDlgTabItem(shown, nullptr, FALSE) : nullptr;
    SetFocus(first && IsChild(shown, first) ? first : form_);
}

void QuickMenu::ShowItemInStrip(int step) {
    const int count = static_cast<int>(kPanelCount);
    const int position = open_ ? static_cast<int>(*open_) : 0;
    Qmenu_Click(static_cast<size_t>(((position + step) % count + count) % count));
}

void QuickMenu::Qmenu_MouseMove(size_t index) {
    hoveredIndex_ = index;
    selectorTop_ = ItemTop(index) - kFrameAboveItem;
    const RECT button = controls_.Scale().Rect(0, selectorTop_, 780, 595);
    SetWindowPos(selector_, HWND_TOP, button.left, button.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(selector_, selectedTop_ == selectorTop_ ? SW_HIDE : SW_SHOW);
    selectorIcon_ = icons_[index].get();
    controls_.SetTooltip(selector_, controls_.TooltipOf(items_[index]));
    InvalidateRect(selector_, nullptr, TRUE);
}

void QuickMenu::tmrQuickMenu_Timer() {
    GetCursorPos(&cursorPoint_);
    RECT frame{};
    GetWindowRect(form_, &frame);
    if (cursorPoint_.x - frame.left > controls_.Scale().ScaleDesignPixels(kSelectorReachPixelsAt96)) {
        ShowWindow(selector_, SW_HIDE);
    }
    const bool captionShown = IsWindowVisible(bottomCaption_) != FALSE;
    ShowWindow(bottomCaption_, captionShown ? SW_HIDE : SW_SHOW);
    ShowWindow(bottomImage_, captionShown ? SW_SHOW : SW_HIDE);
}

void QuickMenu::DrawSelector(const DRAWITEMSTRUCT& item) {
    RECT face = item.rcItem;
    BrushHandle grey(CreateSolidBrush(look::kStripGrey));
    FillRect(item.hDC, &face, grey.get());
    DrawEdge(item.hDC, &face, (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    if (selectorIcon_) {
        const int size = controls_.Scale().ScaleDesignPixels(32);
        const int pressed = (item.itemState & ODS_SELECTED) ? 1 : 0;
        DrawIconEx(item.hDC, face.left + (face.right - face.left - size) / 2 + pressed,
                   face.top + (face.bottom - face.top - size) / 2 + pressed, selectorIcon_, size,
                   size, 0, nullptr, DI_NORMAL);
    }
}
