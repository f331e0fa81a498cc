#include "app/CheckList.h"

#include <commctrl.h>

#include <algorithm>

#include "app/WindowSubclass.h"

namespace {

constexpr LRESULT kTicked = 1;
// Wine's ANSI-to-Unicode copy of LB_GETTEXT holds 512 characters, the terminating zero included.
constexpr size_t kLongestToldText = 511;

int ScaleFrom96(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

}  // namespace

void CheckList::Create(HWND parent, int id, const RECT& rect, const Style& style, HFONT font,
                       int dpi) {
    style_ = style;
    dpi_ = dpi;
    backBrush_.reset(CreateSolidBrush(style.backColour));
    const DWORD windowStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
                              LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT;
    const HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", windowStyle, rect.left, rect.top,
                                      rect.right - rect.left, rect.bottom - rect.top, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                      GetModuleHandleW(nullptr), nullptr);
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    TEXTMETRICW metrics{};
    {
        const WindowDc dc(list);
        const SelectedObject selected(dc.get(), font);
        GetTextMetricsW(dc.get(), &metrics);
    }
    const int itemHeight = std::max<int>(metrics.tmHeight + 2, BoxWidth());
    SendMessageW(list, LB_SETITEMHEIGHT, 0, itemHeight);
    // Only after creation: LBS_HASSTRINGS at creation would cancel LBS_NODATA.
    SetWindowLongPtrW(list, GWL_STYLE, GetWindowLongPtrW(list, GWL_STYLE) | LBS_HASSTRINGS | LBS_MULTIPLESEL);
    list_.Attach(list, [this](UINT message, WPARAM wParam, LPARAM lParam) {
        return HandleMessage(message, wParam, lParam);
    });
}

int CheckList::BoxWidth() const { return ScaleFrom96(16, dpi_); }

// Sorted lists order their texts as the user reads them: letter case ignored.
size_t CheckList::SortedPosition(const std::wstring& text) const {
    const auto after = std::upper_bound(items_.begin(), items_.end(), text, [](const std::wstring& a, const Item& b) {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                              b.text.c_str(), static_cast<int>(b.text.size())) == CSTR_LESS_THAN;
    });
    return static_cast<size_t>(after - items_.begin());
}

void CheckList::SyncCount(int current) {
    SendMessageW(list_.get(), LB_SETCOUNT, items_.size(), 0);
    SendMessageW(list_.get(), LB_SETCURSEL, current, 0);
    lastCurrent_ = Current();
    InvalidateRect(list_.get(), nullptr, TRUE);
}

int CheckList::Add(std::wstring_view text, std::wstring value) {
    const std::wstring copy(text);
    const size_t position = style_.sorted ? SortedPosition(copy) : items_.size();
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(position), Item{copy, std::move(value), false});
    int current = Current();
    // An item put before the current one moves it down.
    if (current >= static_cast<int>(position)) ++current;
    SyncCount(current);
    return static_cast<int>(position);
}

void CheckList::AddMany(const std::vector<std::wstring>& texts) {
    std::vector<Entry> entries;
    entries.reserve(texts.size());
    for (const std::wstring& text : texts) entries.push_back({text, {}});
    AddEntries(std::move(entries));
}

void CheckList::AddEntries(std::vector<Entry> entries) {
    const int current = Current();
    const Item* const currentItem = current >= 0 ? &items_[current] : nullptr;
    const std::wstring currentText = currentItem ? currentItem->text : std::wstring();
    const std::wstring currentValue = currentItem ? currentItem->value : std::wstring();
    items_.reserve(items_.size() + entries.size());
    for (Entry& entry : entries) items_.push_back(Item{std::move(entry.text), std::move(entry.value), false});
    if (style_.sorted) {
        std::stable_sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
            return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.text.c_str(),
                                  static_cast<int>(a.text.size()), b.text.c_str(),
                                  static_cast<int>(b.text.size())) == CSTR_LESS_THAN;
        });
    }
    int newCurrent = -1;
    if (current >= 0) {
        for (size_t i = 0; i < items_.size(); ++i) {
            if (items_[i].text == currentText && items_[i].value == currentValue) {
                newCurrent = static_cast<int>(i);
                break;
            }
        }
    }
    SyncCount(newCurrent);
}

void CheckList::RemoveAt(int index) {
    if (index < 0 || index >= Count()) return;
    items_.erase(items_.begin() + index);
    int current = Current();
    if (current == index) {
        current = -1;
    } else if (current > index) {
        --current;
    }
    SyncCount(current);
}

void CheckList::Clear() {
    items_.clear();
    SendMessageW(list_.get(), LB_RESETCONTENT, 0, 0);
    lastCurrent_ = -1;
}

int CheckList::Count() const { return static_cast<int>(items_.size()); }

std::wstring CheckList::Text(int index) const {
    if (index < 0 || index >= Count()) return {};
    return items_[index].text;
}

const std::wstring& CheckList::Value(int index) const {
    static const std::wstring none;
    if (index < 0 || index >= Count()) return none;
    return items_[index].value;
}

bool CheckList::IsTicked(int index) const { return index >= 0 && index < Count() && items_[index].ticked; }

std::vector<int> CheckList::TickedItems() const {
    std::vector<int> ticked;
    for (int index = 0; index < Count(); ++index) {
        if (items_[index].ticked) ticked.push_back(index);
    }
    return ticked;
}

int CheckList::FindValue(int expected, const std::wstring& value) const {
    if (expected >= 0 && expected < Count() && items_[expected].value == value) return expected;
    for (int index = 0; index < Count(); ++index) {
        if (items_[index].value == value) return index;
    }
    return -1;
}

void CheckList::SetTicked(int index, bool ticked) {
    if (index < 0 || index >= Count()) return;
    items_[index].ticked = ticked;
    RECT itemRect;
    if (SendMessageW(list_.get(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&itemRect)) != LB_ERR) {
        InvalidateRect(list_.get(), &itemRect, FALSE);
    }
}

void CheckList::SetAllTicked(bool ticked) {
    for (Item& item : items_) item.ticked = ticked;
    InvalidateRect(list_.get(), nullptr, FALSE);
}

int CheckList::Current() const {
    const LRESULT current = SendMessageW(list_.get(), LB_GETCURSEL, 0, 0);
    return current == LB_ERR ? -1 : static_cast<int>(current);
}

void CheckList::SetCurrent(int index) {
    SendMessageW(list_.get(), LB_SETCURSEL, index, 0);
    RaiseClickIfCurrentChanged();
}

void CheckList::RaiseClickIfCurrentChanged() {
    const int current = Current();
    if (current == lastCurrent_) return;
    lastCurrent_ = current;
    if (onClick) onClick();
}

// The window holds no texts, so typing a letter is matched here: the next item that starts
// with it becomes current.
void CheckList::SelectByFirstLetter(wchar_t letter) {
    const int count = Count();
    if (count == 0) return;
    wchar_t wanted[2] = {letter, 0};
    CharUpperW(wanted);
    const int start = Current();
    for (int step = 1; step <= count; ++step) {
        const int index = (start + step + count) % count;
        if (items_[index].text.empty()) continue;
        wchar_t first[2] = {items_[index].text[0], 0};
        CharUpperW(first);
        if (first[0] == wanted[0]) {
            SetCurrent(index);
            return;
        }
    }
}

void CheckList::SetHorizontalExtent(int pixels) {
    SendMessageW(list_.get(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(pixels), 0);
}

int CheckList::HorizontalExtent() const {
    return static_cast<int>(SendMessageW(list_.get(), LB_GETHORIZONTALEXTENT, 0, 0));
}

// LB_ITEMFROMPOINT cannot say: it gives the index in 16 bits, so in a list of more than 65,536
// items a click would land on the item 65,536 places up. The items all have one height, so the
// index follows from the top item.
int CheckList::ItemWithBoxAt(POINT point) const {
    const LRESULT top = SendMessageW(list_.get(), LB_GETTOPINDEX, 0, 0);
    const LRESULT height = SendMessageW(list_.get(), LB_GETITEMHEIGHT, 0, 0);
    RECT client;
    if (top == LB_ERR || height <= 0 || !GetClientRect(list_.get(), &client) ||
        !PtInRect(&client, point)) {
        return -1;
    }
    const LRESULT index = top + point.y / height;
    RECT itemRect;
    if (index >= Count() ||
        SendMessageW(list_.get(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&itemRect)) ==
            LB_ERR ||
        !PtInRect(&itemRect, point) || point.x >= itemRect.left + BoxWidth()) {
        return -1;
    }
    return static_cast<int>(index);
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
    if (item.itemID >= items_.size()) return;
    HDC dc = item.hDC;
    RECT row = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const COLORREF back = selected ? GetSysColor(COLOR_HIGHLIGHT) : style_.backColour;
    const COLORREF text = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : style_.textColour;

    // The box keeps the list's own colours so the tick stays visible on the highlight.
    RECT boxArea = row;
    boxArea.right = boxArea.left + BoxWidth();
    FillRect(dc, &boxArea, backBrush_.get());
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
    const std::wstring& label = items_[item.itemID].text;
    ExtTextOutW(dc, textArea.left + 2, textArea.top + 1, ETO_OPAQUE, &textArea, label.c_str(),
                static_cast<UINT>(label.size()), nullptr);
    if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(dc, &textArea);
}

std::wstring_view CheckList::TextToTell(size_t index) const {
    return std::wstring_view(items_[index].text).substr(0, kLongestToldText);
}

std::optional<LRESULT> CheckList::AnswerItemQuery(UINT message, WPARAM wParam, LPARAM lParam) const {
    const bool isItem = wParam < items_.size();
    switch (message) {
        case LB_GETTEXTLEN:
            if (!isItem) return LB_ERR;
            return static_cast<LRESULT>(TextToTell(wParam).size());
        case LB_GETTEXT: {
            if (!isItem) return LB_ERR;
            const std::wstring_view text = TextToTell(wParam);
            if (auto* buffer = reinterpret_cast<wchar_t*>(lParam)) {
                text.copy(buffer, text.size());
                buffer[text.size()] = L'\0';
            }
            return static_cast<LRESULT>(text.size());
        }
        case LB_GETSEL:
            if (!isItem) return LB_ERR;
            return items_[wParam].ticked ? kTicked : 0;
        case LB_GETSELCOUNT:
            return static_cast<LRESULT>(
                std::count_if(items_.begin(), items_.end(), [](const Item& item) { return item.ticked; }));
        case LB_GETSELITEMS: {
            auto* indices = reinterpret_cast<int*>(lParam);
            if (indices == nullptr) return LB_ERR;
            size_t written = 0;
            for (size_t i = 0; i < items_.size() && written < wParam; ++i) {
                if (items_[i].ticked) indices[written++] = static_cast<int>(i);
            }
            return static_cast<LRESULT>(written);
        }
        default:
            return std::nullopt;
    }
}

LRESULT CheckList::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<LRESULT> answer = AnswerItemQuery(message, wParam, lParam)) return *answer;
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            // The box is found where the user saw it, before the list box moves anything.
            const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const int boxIndex = ItemWithBoxAt(point);
            const LRESULT result = DefaultSubclassProc(list_.get(), message, wParam, lParam);
            ToggleByUser(boxIndex);
            return result;
        }
        case WM_CHAR: {
            const wchar_t character = static_cast<wchar_t>(wParam);
            if (character == L' ') {
                ToggleByUser(Current());
            } else if (character > L' ') {
                SelectByFirstLetter(character);
            }
            if (onKeyPress) onKeyPress(character);
            return 0;
        }
        default:
            return DefaultSubclassProc(list_.get(), message, wParam, lParam);
    }
}
