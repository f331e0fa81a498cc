#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "app/Fonts.h"
#include "app/PanelWindow.h"
#include "app/TwipScale.h"
#include "theming/FailureReport.h"

// A rectangle of the layout, in twips relative to the parent.
struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

// One control to create. Colours: a label without a background colour is see-through; a text box
// takes both colours; a button keeps the system's look.
struct ControlDescription {
    PanelWindow* parent = nullptr;
    int id = 0;
    TwipRect rect{};
    const FontDescription* font = nullptr;
    std::wstring_view text;
    COLORREF textColour = RGB(0, 0, 0);
    std::optional<COLORREF> backColour;
    std::wstring_view tooltip;
    DWORD style = 0;  // added to the kind's own styles
};

// What a panel needs of the window it lives in.
class PanelHost {
public:
    virtual ~PanelHost() = default;

    virtual const TwipScale& Scale() const = 0;
    virtual HFONT Font(const FontDescription& font) = 0;
    virtual void SetTooltip(HWND control, const std::wstring& text) = 0;
    virtual std::wstring TooltipOf(HWND control) const = 0;
    // The Quick Menu strip, which long actions disable.
    virtual HWND QuickMenuStrip() const = 0;
    // Builds a panel's window, hidden, at the panels' place with their background.
    virtual bool CreatePanelWindow(PanelWindow& window) = 0;
    // Without a trailing backslash, except at a drive root.
    virtual const std::wstring& ApplicationDirectory() const = 0;
    std::wstring HistoryFilePath() const { return ApplicationDirectory() + L"\\history.db"; }
    std::wstring SettingsFilePath() const { return ApplicationDirectory() + L"\\settings.db"; }

    // Tells the user, once, what went wrong in an action; nothing when nothing did.
    void Report(const FailureReport& report) {
        if (!report.Empty()) ShowMessage(report.Text());
    }
    virtual void ShowMessage(const std::wstring& text) = 0;

    // True once the user asked to close the window while a long action ran: the action finishes
    // the item in hand and stops.
    virtual bool CloseRequested() const = 0;

    // Held by the handler of a button that runs over many items (and by anything that yields to
    // the message loop inside a handler): a close meanwhile waits until the last one ends.
    class LongAction {
    public:
        explicit LongAction(PanelHost& host) : host_(host) { host_.LongActionStarted(); }
        ~LongAction() { host_.LongActionEnded(); }
        LongAction(const LongAction&) = delete;
        LongAction& operator=(const LongAction&) = delete;

    private:
        PanelHost& host_;
    };

    HWND AddLabel(const ControlDescription& described);
    HWND AddButton(const ControlDescription& described);
    HWND AddTextBox(const ControlDescription& described);
    // Any other child: its window class and styles as given (WS_CHILD is added).
    HWND AddChild(const ControlDescription& described, const wchar_t* className, DWORD exStyle = 0);

protected:
    virtual void LongActionStarted() = 0;
    virtual void LongActionEnded() = 0;

private:
    void ApplyFontAndTooltip(HWND control, const ControlDescription& described);
};
