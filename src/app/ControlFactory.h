#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/Fonts.h"
#include "app/PanelWindow.h"
#include "app/Tooltips.h"
#include "app/TwipScale.h"

class CheckList;
class DirectoryList;
class DriveList;

// A rectangle of the layout, in twips relative to the parent.
struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

// One control to create and wire. Colours: a label without a background colour is see-through;
// a text box and the lists take both colours; a button keeps the system's look.
struct ControlDescription {
    PanelWindow* parent = nullptr;
    int id = 0;
    TwipRect rect{};
    const FontDescription* font = nullptr;
    // A caption; for the drive and folder lists, the folder to open on (empty: the current one).
    std::wstring_view text;
    COLORREF textColour = RGB(0, 0, 0);
    std::optional<COLORREF> backColour;
    std::wstring_view tooltip;
    // A tool tip whose text is made each time the tip is about to show (see Tooltips::SetAsked).
    std::function<std::wstring()> askedTooltip;
    // Added to the kind's own styles; LBS_SORT keeps a check-box list sorted.
    DWORD style = 0;
    // A button's click, a notifying label's, or a check-box list's change of current item.
    std::function<void()> onClick;
    // The drive or folder list's change of drive or folder.
    std::function<void()> onChange;
};

// Makes the window's controls from their descriptions in twips: places them through the
// screen's DPI, gives them their fonts (one object per font), colours and tool tips, and hands
// their notifications to the handlers the description names.
class ControlFactory {
public:
    explicit ControlFactory(const TwipScale& scale) : scale_(scale), fonts_(scale) {}
    ControlFactory(const ControlFactory&) = delete;
    ControlFactory& operator=(const ControlFactory&) = delete;

    // The tool tips' window, owned by the top-level window; texts given before take effect then.
    void CreateTooltips(HWND owner) { tooltips_.Create(owner, scale_.ScaleDesignPixels(kTooltipWidthAt96)); }
    // The widest a tool tip grows, in pixels at 96 DPI, before its lines break between words:
    // about eighty characters, so that a path of the usual length keeps to one line and a note of
    // several sentences becomes a block that stays well inside a 1024-pixel screen.
    static constexpr int kTooltipWidthAt96 = 480;

    const TwipScale& Scale() const { return scale_; }
    HFONT Font(const FontDescription& font) { return fonts_.Get(font); }
    void SetTooltip(HWND control, const std::wstring& text) { tooltips_.Set(control, text); }
    void SetAskedTooltip(PanelWindow& parent, HWND control, std::function<std::wstring()> text);
    std::wstring TooltipOf(HWND control) const { return tooltips_.Of(control); }

    HWND AddLabel(const ControlDescription& described);
    HWND AddButton(const ControlDescription& described);
    HWND AddTextBox(const ControlDescription& described);
    // Any other child: its window class and styles as given (WS_CHILD is added).
    HWND AddChild(const ControlDescription& described, const wchar_t* className, DWORD exStyle = 0);
    void AddCheckList(CheckList& list, const ControlDescription& described);
    void AddDriveList(DriveList& list, const ControlDescription& described);
    void AddFolderList(DirectoryList& list, const ControlDescription& described);

private:
    RECT PixelRect(const TwipRect& rect) const;
    void Wire(HWND control, const ControlDescription& described);
    void WireTooltip(HWND control, const ControlDescription& described);
    template <class FolderControl>
    void AddFolderControl(FolderControl& list, const ControlDescription& described);

    TwipScale scale_;
    FontCache fonts_;
    Tooltips tooltips_;
};
