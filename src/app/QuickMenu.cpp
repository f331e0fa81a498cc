#include "app/QuickMenu.h"

#include <commctrl.h>

#include <algorithm>
#include <string_view>

#include "app/Look.h"
#include "app/ResourceIds.h"
#include "app/StripLayout.h"
#include "app/WindowSubclass.h"

namespace {

const FontDescription kStripCaptionFont{L"Times New Roman", 9, true, false};

static_assert(kPanelCount >= 1 && kPanelCount <= StripLayout::kMostItems, "the strip holds 1 to 8 items");
static_assert(QuickMenu::kQmenuFirst + static_cast<int>(kPanelCount) <= QuickMenu::kQmenuSelector,
              "the items' ids stay clear of the other controls'");
constexpr StripLayout kLayout(kPanelCount);
constexpr TwipRect kBottomPicture{120, StripLayout::kBottomPictureTop, 480, 480};
constexpr std::wstring_view kBottomName = L"Patient Information Sheet";

// How far right of the window's left edge the cursor may go before the raised button hides.
constexpr int kSelectorReachPixelsAt96 = 60;

// A window text of its own for a control whose real one means something else (a picture's names
// its icon resource): what assistive technology reads as the control's name.
std::optional<LRESULT> AnswerText(std::wstring_view text, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(text.size());
    if (message != WM_GETTEXT) return std::nullopt;
    if (wParam == 0) return 0;
    const size_t copied = std::min(text.size(), static_cast<size_t>(wParam) - 1);
    auto* buffer = reinterpret_cast<wchar_t*>(lParam);
    text.copy(buffer, copied);
    buffer[copied] = L'\0';
    return static_cast<LRESULT>(copied);
}

}  // namespace

void QuickMenu::LoadPictures() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto loadIcon = [&](int id, int twips) {
        const int size = controls_.Scale().ToPixels(twips);
        return IconHandle(static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    };
    for (size_t i = 0; i < kPanelCount; ++i) icons_[i] = loadIcon(IDI_QMENU_FIRST + static_cast<int>(i), kLayout.Icon(i).width);
    bottomIcon_ = loadIcon(IDI_QMENU_BOTTOM, kBottomPicture.width);
    selectorCursor_ = static_cast<HCURSOR>(LoadImageW(instance, MAKEINTRESOURCEW(IDC_QMENU_SELECTOR),
                                                      IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

HWND QuickMenu::AddIcon(int id, const TwipRect& rect, HICON icon) {
    HWND image = controls_.AddChild({.parent = &strip_, .id = id, .rect = rect,
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
    // It and the raised button stand at the top item's place until an item is open or hovered.
    selectedFrame_ = controls_.AddChild({.parent = &strip_, .id = kQmenuSelected, .rect = kLayout.Frame(0),
                                         .style = WS_VISIBLE | WS_CLIPSIBLINGS | SS_WHITEFRAME},
                                        L"STATIC");

    for (size_t index = 0; index < kPanelCount; ++index) {
        const HWND item = AddIcon(kQmenuFirst + static_cast<int>(index), kLayout.Icon(index), icons_[index].get());
        items_[index] = item;
        itemHovers_[index].Attach(item, [this, item, index](UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_MOUSEMOVE) Qmenu_MouseMove(index);
            if (const auto name = AnswerText(kPanels[index].tooltip, message, wParam, lParam)) return *name;
            return DefaultSubclassProc(item, message, wParam, lParam);
        });
        controls_.SetTooltip(item, kPanels[index].tooltip);
        strip_.OnClick(item, [this, index] { Qmenu_Click(index); });
    }
    SetWindowPos(selectedFrame_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    selector_ = controls_.AddChild({.parent = &strip_, .id = kQmenuSelector, .rect = kLayout.Selector(0),
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

    bottomImage_ = AddIcon(kImgQMenuBottom, kBottomPicture, bottomIcon_.get());
    controls_.SetTooltip(bottomImage_, std::wstring(kBottomName));
    bottomName_.Attach(bottomImage_, [this](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (const auto name = AnswerText(kBottomName, message, wParam, lParam)) return *name;
        return DefaultSubclassProc(bottomImage_, message, wParam, lParam);
    });
    // It shares its place with the bottom icon and takes turns with it.
    bottomCaption_ = AddCaption(kLblQMenuBottom, L"XP Vestrim", kBottomPicture.top, WS_CLIPSIBLINGS);
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
        MoveTo(selectedFrame_, kLayout.Frame(index), nullptr);
    }
    ShowWindow(selector_, SW_HIDE);
    InvalidateRect(OutlookBar(), nullptr, TRUE);
    if (!known) return;
    Panel& panel = *(*panels_)[index];
    if (!panel.Window()) {
        panel.Create(form_, place_);
        // The panel's name for assistive technology: its item's.
        SetWindowTextW(panel.Window(), kPanels[index].tooltip);
    }
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
    MoveTo(selector_, kLayout.Selector(index), HWND_TOP);
    ShowWindow(selector_, open_ == index ? SW_HIDE : SW_SHOW);
    selectorIcon_ = icons_[index].get();
    const std::wstring tooltip = controls_.TooltipOf(items_[index]);
    controls_.SetTooltip(selector_, tooltip);
    // Its text is drawn by no one: it names the button for assistive technology.
    SetWindowTextW(selector_, tooltip.c_str());
    InvalidateRect(selector_, nullptr, TRUE);
}

void QuickMenu::MoveTo(HWND control, const TwipRect& rect, HWND after) {
    const RECT pixels = controls_.Scale().Rect(rect.left, rect.top, rect.width, rect.height);
    SetWindowPos(control, after, pixels.left, pixels.top, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | (after ? 0 : SWP_NOZORDER));
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
        const int size = controls_.Scale().ToPixels(kLayout.Icon(hoveredIndex_).width);
        const int pressed = (item.itemState & ODS_SELECTED) ? 1 : 0;
        DrawIconEx(item.hDC, face.left + (face.right - face.left - size) / 2 + pressed,
                   face.top + (face.bottom - face.top - size) / 2 + pressed, selectorIcon_, size,
                   size, 0, nullptr, DI_NORMAL);
    }
}
