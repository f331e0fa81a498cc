#include "app/BoundWindow.h"

BoundWindow::~BoundWindow() {
    if (!window_) return;
    // The object is going: the window's last messages go to the system alone.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

void BoundWindow::RegisterBoundClass(const wchar_t* className, HBRUSH background) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Route;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);  // fails harmlessly when the class is there already
}

bool BoundWindow::CreateBound(const wchar_t* className, const Placement& placement) {
    const RECT& rect = placement.rect;
    CreateWindowExW(placement.exStyle, className, placement.caption, placement.style, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, placement.parent, nullptr,
                    GetModuleHandleW(nullptr), this);
    return window_ != nullptr;
}

void BoundWindow::Destroy() {
    if (window_) DestroyWindow(window_);
}

LRESULT BoundWindow::Default(UINT message, WPARAM wParam, LPARAM lParam) const {
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK BoundWindow::Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* bound = static_cast<BoundWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        bound->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bound));
    }
    auto* bound = reinterpret_cast<BoundWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!bound) return DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = bound->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        bound->window_ = nullptr;
    }
    return result;
}
