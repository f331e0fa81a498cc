#include "app/PanelWindow.h"

namespace {

constexpr wchar_t kClassName[] = L"XpvPanel";

}  // namespace

bool PanelWindow::Create(HWND parent, const RECT& rect, const Look& look, bool visible) {
    RegisterBoundClass(kClassName, nullptr);
    background_.reset(look.picture ? CreatePatternBrush(look.picture) : CreateSolidBrush(look.backColour));
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0);
    const DWORD exStyle = WS_EX_CONTROLPARENT | (look.border ? WS_EX_CLIENTEDGE : 0);
    return CreateBound(kClassName, {exStyle, L"", style, rect, parent});
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

void PanelWindow::OnTooltipText(HWND child, std::function<void(NMTTDISPINFOW&)> handler) {
    routes_[child].tooltipText = std::move(handler);
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
        case WM_NOTIFY: {
            auto& header = *reinterpret_cast<NMHDR*>(lParam);
            if (header.code != TTN_GETDISPINFOW) break;
            // A tool that is a window is named by its handle.
            const auto found = routes_.find(reinterpret_cast<HWND>(header.idFrom));
            if (found != routes_.end() && found->second.tooltipText) {
                found->second.tooltipText(reinterpret_cast<NMTTDISPINFOW&>(header));
                return 0;
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
            GetClientRect(Handle(), &client);
            SetBrushOrgEx(reinterpret_cast<HDC>(wParam), 0, 0, nullptr);
            FillRect(reinterpret_cast<HDC>(wParam), &client, background_.get());
            return 1;
        }
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

LRESULT PanelWindow::ChildColour(UINT message, HDC dc, HWND child) {
    const auto found = routes_.find(child);
    if (found == routes_.end() || !found->second.text) {
        return Default(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child));
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
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&childRect), 2);
    SetBrushOrgEx(dc, -childRect.left, -childRect.top, nullptr);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(background_.get());
}
