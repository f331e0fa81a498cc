#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <optional>

#include "app/ControlFactory.h"
#include "app/GdiHandles.h"
#include "app/Panel.h"
#include "app/PanelHost.h"
#include "app/PanelTable.h"
#include "app/PanelWindow.h"
#include "app/SubclassedControl.h"

// The strip on the window's left: an icon for each row of the panel table, which shows its
// panel, a raised button that follows the mouse over them, a frame on the open one, and a
// blinking caption at the bottom.
class QuickMenu {
public:
    // Child ids on the strip: item i is kQmenuFirst + i.
    enum ControlId : int {
        kQmenuFirst = 100,
        kQmenuSelector = 110,
        kImgQMenuBottom,
        kLblQMenuTop,
        kQmenuSelected,
        kLblQMenuBottom,
    };

    QuickMenu(PanelHost& host, ControlFactory& controls) : host_(host), controls_(controls) {}
    QuickMenu(const QuickMenu&) = delete;
    QuickMenu& operator=(const QuickMenu&) = delete;

    // Builds the strip on the form. `panels` follow the panel table; each is made where `place`
    // says when it is first shown.
    void Create(HWND form, const std::array<std::unique_ptr<Panel>, kPanelCount>& panels, const PanelPlace& place);

    // Hides every panel and shows the item's own, then runs its "shown" step; an index that
    // names no item hides them all and leaves the frame where it is.
    void Qmenu_Click(size_t index);
    // The same for the panel the window opens with, before it shows: taking the focus then would
    // activate a window not yet on screen, which is slow and pointless. FocusOpenPanel follows
    // once it shows.
    void OpenBeforeShown(size_t index);
    // Moves the focus to the first control of the open panel (to the window when it has none).
    void FocusOpenPanel();
    // The keyboard's way through the strip: the item `step` places below the open one (above it
    // when negative), round from the bottom to the top.
    void ShowItemInStrip(int step);
    // Every 500 ms: hides the raised button once the mouse left the strip, blinks the bottom.
    void tmrQuickMenu_Timer();

    HWND OutlookBar() const { return strip_.Handle(); }

    // What the tests read and drive beyond the controls' ids.
    struct TestView;

private:
    void LoadPictures();
    HWND AddIcon(int id, const TwipRect& rect, HICON icon);
    HWND AddCaption(int id, const wchar_t* text, int top, DWORD style);
    void Open(size_t index, bool moveFocus);
    void Qmenu_MouseMove(size_t index);
    void QmenuSelector_Click() { Qmenu_Click(hoveredIndex_); }
    void MoveTo(HWND control, const TwipRect& rect, HWND after);
    void DrawSelector(const DRAWITEMSTRUCT& item);

    PanelHost& host_;
    ControlFactory& controls_;
    HWND form_ = nullptr;
    PanelWindow strip_;
    const std::array<std::unique_ptr<Panel>, kPanelCount>* panels_ = nullptr;
    PanelPlace place_{};
    std::array<HWND, kPanelCount> items_{};
    std::array<SubclassedControl, kPanelCount> itemHovers_;
    HWND selectedFrame_ = nullptr;
    HWND selector_ = nullptr;
    SubclassedControl selectorPointer_;
    HWND bottomImage_ = nullptr;
    SubclassedControl bottomName_;
    HWND bottomCaption_ = nullptr;
    // The item whose panel is open; none before the first is opened. The frame and the raised
    // button stand where these items are.
    std::optional<size_t> open_;
    size_t hoveredIndex_ = 0;
    POINT cursorPoint_{};
    std::array<IconHandle, kPanelCount> icons_;
    IconHandle bottomIcon_;
    HCURSOR selectorCursor_ = nullptr;
    HICON selectorIcon_ = nullptr;  // one of icons_, not owned
};
