#include "app/Tooltips.h"

#include <commctrl.h>

void Tooltips::Create(HWND owner) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
}

void Tooltips::Set(HWND control, const std::wstring& text) {
    const bool known = texts_.count(control) != 0;
    std::wstring& stored = texts_[control];
    stored = text;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = stored.data();
    SendMessageW(tooltip_, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring Tooltips::Of(HWND control) const {
    const auto found = texts_.find(control);
    return found == texts_.end() ? std::wstring() : found->second;
}
