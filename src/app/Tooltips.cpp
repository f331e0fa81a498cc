#include "app/Tooltips.h"

#include <commctrl.h>

void Tooltips::Create(HWND owner) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    for (auto& [control, text] : texts_) Tell(TTM_ADDTOOLW, control, text);
}

void Tooltips::Set(HWND control, const std::wstring& text) {
    const bool known = texts_.count(control) != 0;
    std::wstring& stored = texts_[control];
    stored = text;
    if (tooltip_) Tell(known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, control, stored);
}

void Tooltips::Tell(UINT message, HWND control, std::wstring& text) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();
    SendMessageW(tooltip_, message, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring Tooltips::Of(HWND control) const {
    const auto found = texts_.find(control);
    return found == texts_.end() ? std::wstring() : found->second;
}
