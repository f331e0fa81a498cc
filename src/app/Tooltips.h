#pragma once
#include <windows.h>

#include <string>
#include <unordered_map>

// The tool tips of the window's controls: one tooltip window, and each control's text, which can
// change while the window lives.
class Tooltips {
public:
    Tooltips() = default;
    Tooltips(const Tooltips&) = delete;
    Tooltips& operator=(const Tooltips&) = delete;

    // The tooltip window; texts given before it exists take effect then.
    void Create(HWND owner);
    // Gives the control this tool tip text, adding the control on first use.
    void Set(HWND control, const std::wstring& text);
    // The control's text; empty when it has none.
    std::wstring Of(HWND control) const;

private:
    // Adds the control's tool, or changes its text.
    void Tell(UINT message, HWND control, std::wstring& text);

    HWND tooltip_ = nullptr;  // destroyed with its owner
    // Node-based: the tooltip window keeps pointers to these texts.
    std::unordered_map<HWND, std::wstring> texts_;
};
