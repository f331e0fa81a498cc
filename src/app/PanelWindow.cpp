#include "app/PanelWindow.h"

namespace {

constexpr wchar_t kClassName[] = L"XpvPanel";

void RegisterOnce() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

}  // namespace

PanelWindow::~PanelWindow() {
    if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
}

bool PanelWindow::Create(HWND parent, const RECT& rect, const Look& look, bool visible) {
    RegisterOnce();
    background_.reset(look.picture ? CreatePatternBrush(look.picture) : CreateSolidBrush(look.backColour));
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0);
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT | (look.border ? WS_EX_CLIENTEDGE : 0), kClassName, L"",
                              style, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                              parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window_) return false;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
    return true;
}

void PanelWindow::OnCommand(HWND child, std::function<void(WORD)> handler) {
    routes_[child].command = std::move(handler);
}

void PanelWindow::OnClick(HWND child, std::function<void()> handler) {
    // Buttons report BN_CLICKED, notifying statics STN_CLICKED: both are 0.
    OnCommand(child, [handler = std::move(handler)](WORD notification) {
        if (notification == BN_CLICKED) handler();
    });
}

void PanelWindow::OnDrawItem(HWND child, std::function<void(const DRAWITEMSTRUCT&)> handler) {
    routes_[child].draw = std::move(handler);
}

void PanelWindow::SetColours(HWND child, COLORREF text, std::optional<COLORREF> back) {
    Route& route = routes_[child];
    route.text = text;
    route.ownBack.reset(back ? CreateSolidBrush(*back) : nullptr);
    route.back = route.ownBack.get();
}

void PanelWindow::SetColours(HWND child, COLORREF text, HBRUSH back) {
    Route& route = routes_[child];
    route.text = text;
    route.ownBack.reset();
    route.back = back;
}

LRESULT CALLBACK PanelWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* panel = reinterpret_cast<PanelWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!panel) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        panel->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return panel->HandleMessage(message, wParam, lParam);
}

LRESULT PanelWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const auto found = routes_.find(reinterpret_cast<HWND>(lParam));
            if (found != routes_.end() && found->second.command) {
                // A copy: a handler that runs the message loop may meanwhile replace its own route.
                const auto handler = found->second.command;
                handler(HIWORD(wParam));
                return 0;
            }
            break;
        }
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            const auto found = routes_.find(item.hwndItem);
            if (found != routes_.end() && found->second.draw) {
                found->second.draw(item);
                return TRUE;
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
            return ChildColour(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window_, &client);
            SetBrushOrgEx(reinterpret_cast<HDC>(wParam), 0, 0, nullptr);
            FillRect(reinterpret_cast<HDC>(wParam), &client, background_.get());
            return 1;
        }
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT PanelWindow::ChildColour(UINT message, HDC dc, HWND child) {
    const auto found = routes_.find(child);
    if (found == routes_.end() || !found->second.text) {
        return DefWindowProcW(window_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child));
    }
    const Route& route = found->second;
    SetTextColor(dc, *route.text);
    if (route.back) {
        LOGBRUSH brush{};
        GetObjectW(route.back, sizeof(brush), &brush);
        SetBkColor(dc, brush.lbColor);
        return reinterpret_cast<LRESULT>(route.back);
    }
    // See-through: the panel's own background, aligned with the child's place on it.
    RECT childRect;
    GetWindowRect(child, &childRect);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&childRect), 2);
    SetBrushOrgEx(dc, -childRect.left, -childRect.top, nullptr);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(background_.get());
}
