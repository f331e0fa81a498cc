#include "app/PanelHost.h"

HWND PanelHost::AddChild(const ControlDescription& described, const wchar_t* className, DWORD exStyle) {
    const TwipRect& place = described.rect;
    const RECT rect = Scale().Rect(place.left, place.top, place.width, place.height);
    const std::wstring text(described.text);
    HWND control = CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | described.style, rect.left,
                                   rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                   described.parent->Handle(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(described.id)),
                                   GetModuleHandleW(nullptr), nullptr);
    ApplyFontAndTooltip(control, described);
    return control;
}

void PanelHost::ApplyFontAndTooltip(HWND control, const ControlDescription& described) {
    if (described.font) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Font(*described.font)), FALSE);
    }
    if (!described.tooltip.empty()) SetTooltip(control, std::wstring(described.tooltip));
}

HWND PanelHost::AddLabel(const ControlDescription& described) {
    // Labels lie under every other control of their panel and never paint over one they overlap.
    ControlDescription label = described;
    label.style |= WS_VISIBLE | WS_CLIPSIBLINGS;
    HWND control = AddChild(label, L"STATIC");
    SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    described.parent->SetColours(control, described.textColour, described.backColour);
    return control;
}

HWND PanelHost::AddButton(const ControlDescription& described) {
    ControlDescription button = described;
    button.style |= WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    return AddChild(button, L"BUTTON");
}

HWND PanelHost::AddTextBox(const ControlDescription& described) {
    ControlDescription box = described;
    box.style |= WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
    HWND control = AddChild(box, L"EDIT", WS_EX_CLIENTEDGE);
    described.parent->SetColours(control, described.textColour, described.backColour);
    return control;
}
