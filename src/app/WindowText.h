#pragma once
#include <windows.h>

#include <string>

// A control's text, whatever its length.
std::wstring TextOf(HWND control);
void SetText(HWND control, const std::wstring& text);
