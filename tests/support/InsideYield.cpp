#include "support/InsideYield.h"

#include <windows.h>

namespace xpv_test {

namespace {

constexpr wchar_t kClassName[] = L"XpvTestInsideYield";

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        auto* self = reinterpret_cast<std::function<void()>*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && *self) (*self)();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

InsideNextYield::InsideNextYield(std::function<void()> action)
    : action_([this, action = std::move(action)] {
          ran_ = true;
          action();
      }) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                                nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&action_));
    PostMessageW(window, WM_APP, 0, 0);
    window_ = window;
}

InsideNextYield::~InsideNextYield() { DestroyWindow(static_cast<HWND>(window_)); }

}  // namespace xpv_test
