#pragma once
#include <windows.h>

#include <array>

#include "app/Panel.h"
#include "app/PanelHost.h"
#include "app/PanelWindow.h"
#include "app/GdiHandles.h"

// The strip on the window's left: six icons that show their panels, a raised button that follows
// the mouse over them, a frame on the open one, and a blinking caption at the bottom.
class QuickMenu {
public:
    static constexpr int kItems = 6;

    explicit QuickMenu(PanelHost& host) : host_(host) {}
    QuickMenu(const QuickMenu&) = delete;
    QuickMenu& operator=(const QuickMenu&) = delete;

    // Builds the strip on the form; `panels` by item index: Vestrim, Help, About, Turbo Vestrim,
    // History, Settings.
    void Create(HWND form, const std::array<Panel*, kItems>& panels);

    // Hides every panel and shows the item's own, then runs its "shown" step.
    void Qmenu_Click(int index);
    void Qmenu_MouseMove(int index);
    void QmenuSelector_Click();
    // The keyboard's way through the strip: the item `step` places below the open one (above it
    // when negative), round from the bottom to the top.
    void ShowItemInStrip(int step);
    // The item whose panel is open.
    int SelectedIndex() const;
    // Every 500 ms: hides the raised button once the mouse left the strip, blinks the bottom.
    void tmrQuickMenu_Timer();

    int HoveredIndex = 0;
    POINT CursorPoint{};

    // Twips from the strip's top of each item, by index.
    static int QmenuTop(int index);
    int QmenuSelectedTop() const { return selectedTop_; }  // twips
    int QmenuSelectorTop() const { return selectorTop_; }  // twips
    HICON SelectorIcon() const { return selectorIcon_; }
    HICON QmenuIcon(int index) const { return icons_[index].get(); }

    HWND OutlookBar() const { return strip_.Handle(); }
    HWND lblQMenuTop = nullptr;
    std::array<HWND, kItems> Qmenu{};
    HWND QmenuSelected = nullptr;
    HWND QmenuSelector = nullptr;
    HWND imgQMenuBottom = nullptr;
    HWND lblQMenuBottom = nullptr;

private:
    void LoadPictures();
    HWND AddIcon(int id, int top, HICON icon);
    HWND AddCaption(const wchar_t* text, int top, DWORD style);
    void DrawSelector(const DRAWITEMSTRUCT& item);
    static LRESULT CALLBACK QuickMenuItemProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK SelectorProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    PanelHost& host_;
    HWND form_ = nullptr;
    PanelWindow strip_;
    std::array<Panel*, kItems> panels_{};
    int selectedTop_ = 3360;  // twips, as laid out
    int selectorTop_ = 2400;
    std::array<IconHandle, kItems> icons_;
    IconHandle bottomIcon_;
    HCURSOR selectorCursor_ = nullptr;
    HICON selectorIcon_ = nullptr;  // one of icons_, not owned
};
