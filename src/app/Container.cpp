#include "app/Container.h"

#include <memory>

#include "platform/GdiHandles.h"

namespace {

constexpr wchar_t kClassName[] = L"XpvContainer";

struct State {
    BrushHandle background;
};

State* StateOf(HWND window) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool IsForwardedToOwner(UINT message) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
            return true;
        default:
            return false;
    }
}

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsForwardedToOwner(message)) {
        return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    }
    switch (message) {
        case WM_NCCREATE: {
            const auto* look = static_cast<const Container::Look*>(
                reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            auto state = std::make_unique<State>();
            state->background.reset(look->picture ? CreatePatternBrush(look->picture)
                                                  : CreateSolidBrush(look->backColour));
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
            break;
        }
        case WM_NCDESTROY:
            delete StateOf(window);
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            break;
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window, &client);
            SetBrushOrgEx(reinterpret_cast<HDC>(wParam), 0, 0, nullptr);
            FillRect(reinterpret_cast<HDC>(wParam), &client, StateOf(window)->background.get());
            return 1;
        }
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterOnce() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = ContainerProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

}  // namespace

namespace Container {

HWND Create(HWND parent, const RECT& rect, const Look& look, bool visible) {
    RegisterOnce();
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0);
    return CreateWindowExW(WS_EX_CONTROLPARENT | (look.border ? WS_EX_CLIENTEDGE : 0), kClassName, L"", style, rect.left,
                           rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                           nullptr, GetModuleHandleW(nullptr), const_cast<Look*>(&look));
}

HBRUSH TransparentBackgroundFor(HWND container, HWND child, HDC childDc) {
    RECT childRect;
    GetWindowRect(child, &childRect);
    MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&childRect), 2);
    SetBrushOrgEx(childDc, -childRect.left, -childRect.top, nullptr);
    SetBkMode(childDc, TRANSPARENT);
    return StateOf(container)->background.get();
}

}  // namespace Container
