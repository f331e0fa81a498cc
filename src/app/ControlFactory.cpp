#include "app/ControlFactory.h"

#include "app/CheckList.h"
#include "app/DirectoryList.h"
#include "app/DriveList.h"

RECT ControlFactory::PixelRect(const TwipRect& rect) const {
    return scale_.Rect(rect.left, rect.top, rect.width, rect.height);
}

void ControlFactory::SetAskedTooltip(PanelWindow& parent, HWND control, std::function<std::wstring()> text) {
    tooltips_.SetAsked(control, std::move(text));
    parent.OnTooltipText(control, [this](NMTTDISPINFOW& request) { tooltips_.Answer(request); });
}

void ControlFactory::WireTooltip(HWND control, const ControlDescription& described) {
    if (described.askedTooltip) {
        SetAskedTooltip(*described.parent, control, described.askedTooltip);
    } else if (!described.tooltip.empty()) {
        SetTooltip(control, std::wstring(described.tooltip));
    }
}

void ControlFactory::Wire(HWND control, const ControlDescription& described) {
    if (described.font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Font(*described.font)), FALSE);
    WireTooltip(control, described);
    if (described.onClick) described.parent->OnClick(control, described.onClick);
}

HWND ControlFactory::AddChild(const ControlDescription& described, const wchar_t* className, DWORD exStyle) {
    const RECT rect = PixelRect(described.rect);
    const std::wstring text(described.text);
    HWND control = CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | described.style, rect.left,
                                   rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                   described.parent->Handle(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(described.id)),
                                   GetModuleHandleW(nullptr), nullptr);
    Wire(control, described);
    return control;
}

HWND ControlFactory::AddLabel(const ControlDescription& described) {
    // Labels lie under every other control of their panel and never paint over one they overlap;
    // one with a click handler tells its clicks.
    ControlDescription label = described;
    label.style |= WS_VISIBLE | WS_CLIPSIBLINGS | (described.onClick ? SS_NOTIFY : 0);
    HWND control = AddChild(label, L"STATIC");
    SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    described.parent->SetColours(control, described.textColour, described.backColour);
    return control;
}

HWND ControlFactory::AddButton(const ControlDescription& described) {
    ControlDescription button = described;
    button.style |= WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    return AddChild(button, L"BUTTON");
}

HWND ControlFactory::AddTextBox(const ControlDescription& described) {
    ControlDescription box = described;
    box.style |= WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
    HWND control = AddChild(box, L"EDIT", WS_EX_CLIENTEDGE);
    described.parent->SetColours(control, described.textColour, described.backColour);
    return control;
}

void ControlFactory::AddCheckList(CheckList& list, const ControlDescription& described) {
    const CheckList::Style style{(described.style & LBS_SORT) != 0, described.textColour,
                                 described.backColour.value_or(RGB(0xFF, 0xFF, 0xFF))};
    list.Create(described.parent->Handle(), described.id, PixelRect(described.rect), style, Font(*described.font),
                scale_.Dpi());
    described.parent->Register(list);
    list.onClick = described.onClick;
    WireTooltip(list.Handle(), described);
}

// The drive list and the folder list are made alike: they differ in what they show.
template <class FolderControl>
void ControlFactory::AddFolderControl(FolderControl& list, const ControlDescription& described) {
    list.Create(described.parent->Handle(), described.id, PixelRect(described.rect), Font(*described.font),
                described.textColour, described.backColour.value_or(RGB(0xFF, 0xFF, 0xFF)), described.text);
    described.parent->Register(list);
    list.onChange = described.onChange;
}

void ControlFactory::AddDriveList(DriveList& list, const ControlDescription& described) {
    AddFolderControl(list, described);
}

void ControlFactory::AddFolderList(DirectoryList& list, const ControlDescription& described) {
    AddFolderControl(list, described);
}
