#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/SubclassedControl.h"
#include "app/GdiHandles.h"

// A list with a tick box in front of every item; an item counts as selected exactly when it is
// ticked, and any number can be ticked. Independently of the ticks the list has a current item.
// The space bar and a click on the box toggle the tick; the owner window passes WM_DRAWITEM and
// WM_COMMAND for the list on to DrawItem and Command.
//
// Screen readers and UI automation read it through the list box messages; it answers them as a
// multiple-selection list box with strings does, although its window holds no texts:
// - LB_GETCOUNT: the number of items. LB_GETTEXTLEN, LB_GETTEXT: the item's text, in the ANSI code
//   page for the ANSI forms; a null buffer gets the length. A text is told up to its first 511
//   characters, since Wine turns an ANSI LB_GETTEXT into a Unicode one with a fixed buffer of 512;
//   file names and paths stay well below that.
// - LB_GETSEL: whether the item is ticked, so a reader announces the ticked items as selected;
//   LB_GETSELCOUNT and LB_GETSELITEMS count and list them. LB_GETCURSEL and LB_GETCARETINDEX: the
//   current item (LB_GETCURSEL: LB_ERR when there is none).
// - An index out of range gets LB_ERR.
// The window's style says LBS_HASSTRINGS and LBS_MULTIPLESEL because readers, and the system when it
// copies these messages between ANSI and Unicode or between processes, go by it; the list box itself
// keeps the styles it was created with.
class CheckList {
public:
    struct Style {
        bool sorted = false;
        COLORREF textColour = RGB(0xE0, 0xE0, 0xE0);
        COLORREF backColour = RGB(0x40, 0x40, 0x40);
    };

    CheckList() = default;
    CheckList(const CheckList&) = delete;
    CheckList& operator=(const CheckList&) = delete;

    void Create(HWND parent, int id, const RECT& rect, const Style& style, HFONT font, int dpi);
    HWND Handle() const { return list_.get(); }

    // An item's text and the value it stands for (a program's path, say), which the list keeps
    // with it wherever sorting or removals move it.
    struct Entry {
        std::wstring text;
        std::wstring value;
    };

    // Adds an item (at the end, or at its sorted place); returns its index.
    int Add(std::wstring_view text, std::wstring value = {});
    // Adds many items at once, with one update of the window.
    void AddMany(const std::vector<std::wstring>& texts);
    void AddEntries(std::vector<Entry> entries);
    void RemoveAt(int index);
    void Clear();
    int Count() const;
    std::wstring Text(int index) const;
    // The value the item stands for; empty for an index out of range or an item added without one.
    const std::wstring& Value(int index) const;

    bool IsTicked(int index) const;
    void SetTicked(int index, bool ticked);
    void SetAllTicked(bool ticked);
    // The ticked items, from the top.
    std::vector<int> TickedItems() const;
    // The item of this value, tried first at `expected`, where it stood before the list may have
    // changed; -1 when none has it.
    int FindValue(int expected, const std::wstring& value) const;

    // The current item, or -1 when there is none. Changing it from code raises onClick, as a
    // click would; setting the item that already is current raises nothing.
    int Current() const;
    void SetCurrent(int index);

    void SetHorizontalExtent(int pixels);
    int HorizontalExtent() const;
    HBRUSH BackgroundBrush() const { return backBrush_.get(); }
    COLORREF TextColour() const { return style_.textColour; }

    // Raised when the current item changes (by the user or from code).
    std::function<void()> onClick;
    std::function<void()> onGotFocus;
    // Any key that produces a character, after the list has handled it.
    std::function<void(wchar_t)> onKeyPress;
    // A tick was toggled by the user.
    std::function<void(int)> onItemCheck;

    void DrawItem(const DRAWITEMSTRUCT& item);
    void Command(WORD notification);

private:
    struct Item {
        std::wstring text;
        std::wstring value;
        bool ticked = false;
    };

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Answers the list box messages that read items; nullopt for any other message.
    std::optional<LRESULT> AnswerItemQuery(UINT message, WPARAM wParam, LPARAM lParam) const;
    std::wstring_view TextToTell(size_t index) const;
    // The item whose tick box lies under a point of the list's client area; -1 for none.
    int ItemWithBoxAt(POINT point) const;
    // Toggles the item's tick and tells onItemCheck; nothing for -1.
    void ToggleByUser(int index);
    // Tells the window how many items there are, keeping the current item where it was.
    void SyncCount(int current);
    void SelectByFirstLetter(wchar_t letter);
    size_t SortedPosition(const std::wstring& text) const;
    void RaiseClickIfCurrentChanged();
    int BoxWidth() const;

    // The items live here; the window only knows how many there are, which keeps large lists
    // fast to fill.
    std::vector<Item> items_;
    SubclassedControl list_;
    Style style_;
    BrushHandle backBrush_;
    int dpi_ = 96;
    int lastCurrent_ = -1;
};
