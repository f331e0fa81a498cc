#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <unordered_map>

// The tool tips of the window's controls: one tooltip window, and each control's text, which can
// change while the window lives, or is asked for each time the tip shows.
class Tooltips {
public:
    Tooltips() = default;
    Tooltips(const Tooltips&) = delete;
    Tooltips& operator=(const Tooltips&) = delete;

    // The tooltip window, its tips at most `widestLine` pixels wide; texts given before it exists
    // take effect then.
    void Create(HWND owner, int widestLine);
    // Gives the control this tool tip text, adding the control on first use.
    void Set(HWND control, const std::wstring& text);
    // Gives the control a tool tip whose text `text` makes each time the tip is about to show, and
    // only then: for texts that cost a file read. The control's parent passes the tooltip window's
    // requests on to Answer. No tip shows while the text is empty.
    void SetAsked(HWND control, std::function<std::wstring()> text);
    // The control's text; empty when it has none.
    std::wstring Of(HWND control) const;
    // Fills in the text the tooltip window asks for (TTN_GETDISPINFOW) of a control given SetAsked.
    void Answer(NMTTDISPINFOW& request);

private:
    struct AskedText {
        std::function<std::wstring()> make;
        std::wstring last;  // the tooltip window reads it after Answer returns
    };

    // Adds the control's tool, or changes its text.
    void Tell(UINT message, HWND control, wchar_t* text);
    bool Known(HWND control) const { return texts_.count(control) != 0 || asked_.count(control) != 0; }

    HWND tooltip_ = nullptr;  // destroyed with its owner
    // Node-based: the tooltip window keeps pointers to these texts.
    std::unordered_map<HWND, std::wstring> texts_;
    std::unordered_map<HWND, AskedText> asked_;
};
