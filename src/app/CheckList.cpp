#include "app/CheckList.h"

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr LRESULT kTicked = 1;

int ScaleFrom96(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

}  // namespace

CheckList::~CheckList() {
    if (list_ && IsWindow(list_)) {
        RemoveWindowSubclass(list_, SubclassProc, kSubclassId);
    }
    if (backBrush_) DeleteObject(backBrush_);
}

void CheckList::Create(HWND parent, int id, const RECT& rect, const Style& style, HFONT font,
                       int dpi) {
    style_ = style;
    dpi_ = dpi;
    backBrush_ = CreateSolidBrush(style.backColour);
    DWORD windowStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL |
                        LBS_NOTIFY | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT;
    if (style.sorted) windowStyle |= LBS_SORT;
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", windowStyle, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    TEXTMETRICW metrics{};
    {
        HDC dc = GetDC(list_);
        HGDIOBJ previous = SelectObject(dc, font);
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, previous);
        ReleaseDC(list_, dc);
    }
    const int itemHeight = std::max<int>(metrics.tmHeight + 2, BoxWidth());
    SendMessageW(list_, LB_SETITEMHEIGHT, 0, itemHeight);
    SetWindowSubclass(list_, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

int CheckList::BoxWidth() const { return ScaleFrom96(16, dpi_); }

int CheckList::Add(std::wstring_view text) {
    const std::wstring copy(text);
    const int index = static_cast<int>(
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(copy.c_str())));
    if (index >= 0) {
        SendMessageW(list_, LB_SETITEMDATA, index, 0);
        // A sorted insert before the current item moves it.
        lastCurrent_ = Current();
    }
    return index;
}

void CheckList::AddMany(const std::vector<std::wstring>& texts) {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_INITSTORAGE, texts.size(), 0);
    for (const std::wstring& text : texts) {
        const LRESULT index = SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (index >= 0) SendMessageW(list_, LB_SETITEMDATA, index, 0);
    }
    lastCurrent_ = Current();
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void CheckList::RemoveAt(int index) {
    SendMessageW(list_, LB_DELETESTRING, index, 0);
    lastCurrent_ = Current();
}

void CheckList::Clear() {
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    lastCurrent_ = -1;
}

int CheckList::Count() const { return static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0)); }

std::wstring CheckList::Text(int index) const {
    const LRESULT length = SendMessageW(list_, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(list_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

bool CheckList::IsTicked(int index) const {
    return SendMessageW(list_, LB_GETITEMDATA, index, 0) == kTicked;
}

void CheckList::SetTicked(int index, bool ticked) {
    if (index < 0 || index >= Count()) return;
    SendMessageW(list_, LB_SETITEMDATA, index, ticked ? kTicked : 0);
    RECT itemRect;
    if (SendMessageW(list_, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&itemRect)) != LB_ERR) {
        InvalidateRect(list_, &itemRect, FALSE);
    }
}

void CheckList::SetAllTicked(bool ticked) {
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        SendMessageW(list_, LB_SETITEMDATA, i, ticked ? kTicked : 0);
    }
    InvalidateRect(list_, nullptr, FALSE);
}

int CheckList::Current() const {
    const LRESULT current = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    return current == LB_ERR ? -1 : static_cast<int>(current);
}

void CheckList::SetCurrent(int index) {
    SendMessageW(list_, LB_SETCURSEL, index, 0);
    RaiseClickIfCurrentChanged();
}

void CheckList::RaiseClickIfCurrentChanged() {
    const int current = Current();
    if (current == lastCurrent_) return;
    lastCurrent_ = current;
    if (onClick) onClick();
}

void CheckList::SetHorizontalExtent(int pixels) {
    SendMessageW(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(pixels), 0);
}

int CheckList::HorizontalExtent() const {
    return static_cast<int>(SendMessageW(list_, LB_GETHORIZONTALEXTENT, 0, 0));
}

void CheckList::ToggleByUser(int index) {
    if (index < 0 || index >= Count()) return;
    SetTicked(index, !IsTicked(index));
    if (onItemCheck) onItemCheck(index);
}

void CheckList::Command(WORD notification) {
    switch (notification) {
        case LBN_SELCHANGE:
            RaiseClickIfCurrentChanged();
            break;
        case LBN_SETFOCUS:
            if (onGotFocus) onGotFocus();
            break;
        default:
            break;
    }
}

void CheckList::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    HDC dc = item.hDC;
    RECT row = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const COLORREF back = selected ? GetSysColor(COLOR_HIGHLIGHT) : style_.backColour;
    const COLORREF text = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : style_.textColour;

    // The box keeps the list's own colours so the tick stays visible on the highlight.
    RECT boxArea = row;
    boxArea.right = boxArea.left + BoxWidth();
    FillRect(dc, &boxArea, backBrush_);
    const int boxSize = ScaleFrom96(13, dpi_);
    RECT box;
    box.left = boxArea.left + (BoxWidth() - boxSize) / 2;
    box.top = row.top + ((row.bottom - row.top) - boxSize) / 2;
    box.right = box.left + boxSize;
    box.bottom = box.top + boxSize;
    UINT boxState = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (IsTicked(static_cast<int>(item.itemID))) boxState |= DFCS_CHECKED;
    DrawFrameControl(dc, &box, DFC_BUTTON, boxState);

    RECT textArea = row;
    textArea.left = boxArea.right;
    SetBkColor(dc, back);
    SetTextColor(dc, text);
    const std::wstring label = Text(static_cast<int>(item.itemID));
    ExtTextOutW(dc, textArea.left + 2, textArea.top + 1, ETO_OPAQUE, &textArea, label.c_str(),
                static_cast<UINT>(label.size()), nullptr);
    if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(dc, &textArea);
}

LRESULT CALLBACK CheckList::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR self) {
    (void)window;
    return reinterpret_cast<CheckList*>(self)->HandleMessage(message, wParam, lParam);
}

LRESULT CheckList::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            const LRESULT result = DefSubclassProc(list_, message, wParam, lParam);
            const LRESULT hit = SendMessageW(list_, LB_ITEMFROMPOINT, 0, lParam);
            const int index = LOWORD(hit);
            const bool outside = HIWORD(hit) != 0;
            RECT itemRect;
            if (!outside &&
                SendMessageW(list_, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&itemRect)) !=
                    LB_ERR) {
                const int x = static_cast<short>(LOWORD(lParam));
                if (x >= itemRect.left && x < itemRect.left + BoxWidth()) ToggleByUser(index);
            }
            return result;
        }
        case WM_CHAR: {
            const wchar_t character = static_cast<wchar_t>(wParam);
            if (character == L' ') {
                ToggleByUser(Current());
            } else {
                DefSubclassProc(list_, message, wParam, lParam);
            }
            if (onKeyPress) onKeyPress(character);
            return 0;
        }
        default:
            return DefSubclassProc(list_, message, wParam, lParam);
    }
}
