#pragma once
#include <windows.h>

// A window whose messages go to the object that made it, from its first message (WM_NCCREATE)
// to its last (WM_NCDESTROY): the main window and the panel windows. The window goes with the
// object at the latest; once the window is gone, Handle() reads null.
class BoundWindow {
public:
    BoundWindow() = default;
    virtual ~BoundWindow();
    BoundWindow(const BoundWindow&) = delete;
    BoundWindow& operator=(const BoundWindow&) = delete;

    HWND Handle() const { return window_; }

protected:
    struct Placement {
        DWORD exStyle;
        const wchar_t* caption;
        DWORD style;
        RECT rect;  // in the parent's client area; the screen for a top-level window
        HWND parent;
    };

    // Makes the window of a class this process registered with RegisterBoundClass.
    bool CreateBound(const wchar_t* className, const Placement& placement);
    // Registers the class (again harmlessly); the background brush stays the caller's or the system's.
    static void RegisterBoundClass(const wchar_t* className, HBRUSH background);
    // Destroys the window now, with its handlers still in place.
    void Destroy();

    // Every message of the window; what it leaves alone goes to Default.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    static LRESULT CALLBACK Route(HWND, UINT, WPARAM, LPARAM);

    HWND window_ = nullptr;
};
