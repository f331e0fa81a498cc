#include "app/PanelHost.h"

HWND PanelHost::AddChild(const ControlSpec& spec, const wchar_t* className, DWORD exStyle) {
    const RECT rect = Scale().Rect(spec.rect.left, spec.rect.top, spec.rect.width, spec.rect.height);
    const std::wstring text(spec.text);
    HWND control = CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | spec.style, rect.left,
                                   rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                   spec.parent->Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                                   GetModuleHandleW(nullptr), nullptr);
    ApplyFontAndTooltip(control, spec);
    return control;
}

void PanelHost::ApplyFontAndTooltip(HWND control, const ControlSpec& spec) {
    if (spec.font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Font(*spec.font)), FALSE);
    if (!spec.tooltip.empty()) SetTooltip(control, std::wstring(spec.tooltip));
}

HWND PanelHost::AddLabel(const ControlSpec& spec) {
    // Labels lie under every other control of their panel and never paint over one they overlap.
    ControlSpec label = spec;
    label.style |= WS_VISIBLE | WS_CLIPSIBLINGS;
    HWND control = AddChild(label, L"STATIC");
    SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    spec.parent->SetColours(control, spec.textColour, spec.backColour);
    return control;
}

HWND PanelHost::AddButton(const ControlSpec& spec) {
    ControlSpec button = spec;
    button.style |= WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    return AddChild(button, L"BUTTON");
}

HWND PanelHost::AddTextBox(const ControlSpec& spec) {
    ControlSpec box = spec;
    box.style |= WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
    HWND control = AddChild(box, L"EDIT", WS_EX_CLIENTEDGE);
    spec.parent->SetColours(control, spec.textColour, spec.backColour);
    return control;
}
