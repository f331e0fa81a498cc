#include <doctest/doctest.h>
#include <windows.h>

#include <functional>

#include "app/MessagePump.h"

namespace {

constexpr UINT kProbe = WM_APP + 7;

// A message-only window that counts the probe messages it is handed.
class CountingWindow {
public:
    CountingWindow() {
        WNDCLASSW type{};
        type.lpfnWndProc = Procedure;
        type.hInstance = GetModuleHandleW(nullptr);
        type.lpszClassName = L"XpvPumpProbe";
        RegisterClassW(&type);
        window_ = CreateWindowExW(0, type.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  type.hInstance, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~CountingWindow() { DestroyWindow(window_); }
    void Post() const { PostMessageW(window_, kProbe, 0, 0); }
    int handled = 0;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kProbe) {
            reinterpret_cast<CountingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA))->handled++;
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    HWND window_ = nullptr;
};

// Takes the quit message a yield posted again, so that it does not end the test run.
bool QuitMessageWaits() {
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

}  // namespace

TEST_CASE("A yield runs every message queued, and gives the quit message back to the outer loop") {
    struct Case {
        const char* name;
        std::function<bool()> yield;
    };
    FrequentYield frequent(60000);  // after its first run, only what the queue's status shows is run
    const Case cases[] = {
        {"DoEvents", [] { return DoEvents(); }},
        {"the first FrequentYield", [&frequent] { return frequent.Run(); }},
        {"a FrequentYield long before its next full run", [&frequent] { return frequent.Run(); }},
    };
    CountingWindow window;
    for (const Case& c : cases) {
        CAPTURE(c.name);
        window.handled = 0;
        window.Post();
        window.Post();
        CHECK(c.yield());
        CHECK(window.handled == 2);
        // Nothing queued: nothing run, and the yield says go on.
        CHECK(c.yield());
        CHECK(window.handled == 2);

        window.Post();
        PostQuitMessage(3);
        CHECK_FALSE(c.yield());
        CHECK(QuitMessageWaits());
    }
}
