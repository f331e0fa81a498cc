#include "platform/MessagePump.h"

void DispatchWindowMessage(MSG& message) {
    HWND topLevel = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (topLevel && IsDialogMessageW(topLevel, &message)) return;
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
