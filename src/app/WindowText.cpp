#include "app/WindowText.h"

std::wstring TextOf(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
    return text;
}

void SetText(HWND control, const std::wstring& text) { SetWindowTextW(control, text.c_str()); }
