#include "app/Tooltips.h"

void Tooltips::Create(HWND owner, int widestLine) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    // A width makes the tips break their lines where a text does (a path, then a note below it),
    // and between words where a line is longer: a note of several sentences reads as a block.
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, widestLine);
    for (auto& [control, text] : texts_) Tell(TTM_ADDTOOLW, control, text.data());
    for (auto& [control, asked] : asked_) Tell(TTM_ADDTOOLW, control, LPSTR_TEXTCALLBACKW);
}

void Tooltips::Set(HWND control, const std::wstring& text) {
    const bool known = Known(control);
    asked_.erase(control);
    std::wstring& stored = texts_[control];
    stored = text;
    if (tooltip_) Tell(known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, control, stored.data());
}

void Tooltips::SetAsked(HWND control, std::function<std::wstring()> text) {
    const bool known = Known(control);
    texts_.erase(control);
    asked_[control] = {std::move(text), {}};
    if (tooltip_) Tell(known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, control, LPSTR_TEXTCALLBACKW);
}

void Tooltips::Tell(UINT message, HWND control, wchar_t* text) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(tooltip_, message, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring Tooltips::Of(HWND control) const {
    if (const auto asked = asked_.find(control); asked != asked_.end()) return asked->second.make();
    const auto found = texts_.find(control);
    return found == texts_.end() ? std::wstring() : found->second;
}

void Tooltips::Answer(NMTTDISPINFOW& request) {
    const auto found = asked_.find(reinterpret_cast<HWND>(request.hdr.idFrom));
    if (found == asked_.end()) return;
    found->second.last = found->second.make();
    request.lpszText = found->second.last.data();
    request.hinst = nullptr;
}
