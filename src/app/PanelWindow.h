#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <unordered_map>

#include "app/BoundWindow.h"
#include "app/GdiHandles.h"

// The window of a panel (and of the Quick Menu strip): a bordered child window that paints its
// background (a colour, or a picture at its top left) and hands each child's notifications,
// drawing and colour requests to whatever the panel registered for that child.
class PanelWindow : public BoundWindow {
public:
    struct Look {
        COLORREF backColour;
        HBITMAP picture;  // drawn at the top left; nullptr for the plain colour; not owned
        bool border;
    };

    bool Create(HWND parent, const RECT& rect, const Look& look, bool visible);

    // A child's WM_COMMAND notifications.
    void OnCommand(HWND child, std::function<void(WORD notification)> handler);
    // A button's click, or a click on a notifying picture or label.
    void OnClick(HWND child, std::function<void()> handler);
    // The tooltip window's request for the text of a child whose tip text is asked for each time
    // it shows.
    void OnTooltipText(HWND child, std::function<void(NMTTDISPINFOW&)> handler);
    // An owner-drawn child's WM_DRAWITEM.
    void OnDrawItem(HWND child, std::function<void(const DRAWITEMSTRUCT&)> handler);
    // The child's text colour on a solid background, or, with no background colour, on the
    // panel's own background (the child then looks see-through).
    void SetColours(HWND child, COLORREF text, std::optional<COLORREF> back);
    // The child's text colour on a brush the child owns.
    void SetColours(HWND child, COLORREF text, HBRUSH back);

    // The drive list, the folder list and the check-box list: their commands, drawing and colours.
    template <class Control>
    void Register(Control& control) {
        OnCommand(control.Handle(), [&control](WORD notification) { control.Command(notification); });
        OnDrawItem(control.Handle(), [&control](const DRAWITEMSTRUCT& item) { control.DrawItem(item); });
        SetColours(control.Handle(), control.TextColour(), control.BackgroundBrush());
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Route {
        std::function<void(WORD)> command;
        std::function<void(const DRAWITEMSTRUCT&)> draw;
        std::function<void(NMTTDISPINFOW&)> tooltipText;
        std::optional<COLORREF> text;
        HBRUSH back = nullptr;  // nullptr: see-through
        BrushHandle ownBack;
    };

    LRESULT ChildColour(UINT message, HDC dc, HWND child);

    BrushHandle background_;
    std::unordered_map<HWND, Route> routes_;
};
