#include "app/MessagePump.h"

namespace {

constexpr wchar_t kShortcutKeysProperty[] = L"XpvShortcutKeys";

}  // namespace

void SetShortcutKeys(HWND topLevel, HACCEL keys) {
    if (keys) {
        SetPropW(topLevel, kShortcutKeysProperty, keys);
    } else {
        RemovePropW(topLevel, kShortcutKeysProperty);
    }
}

void DispatchWindowMessage(MSG& message) {
    HWND topLevel = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (topLevel) {
        const auto keys = static_cast<HACCEL>(GetPropW(topLevel, kShortcutKeysProperty));
        if (keys && TranslateAcceleratorW(topLevel, keys, &message)) return;
        if (IsDialogMessageW(topLevel, &message)) return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

bool DoEvents() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        DispatchWindowMessage(message);
    }
    return true;
}

bool FrequentYield::Run() {
    if (!fullRun_.Due() && HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0) return true;
    return DoEvents();
}
