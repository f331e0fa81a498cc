#pragma once
#include <windows.h>

#include <functional>

// A child control whose messages go to its owner object first, for as long as both exist: the
// routing ends when the control is destroyed (the handle then reads as null) or when this object
// goes, whichever comes first. The control itself is destroyed with its parent window.
class SubclassedControl {
public:
    // Takes every message but WM_NCDESTROY; what it leaves alone it passes to DefSubclassProc.
    using Handler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

    SubclassedControl() = default;
    ~SubclassedControl();
    SubclassedControl(const SubclassedControl&) = delete;
    SubclassedControl& operator=(const SubclassedControl&) = delete;

    void Attach(HWND control, Handler handler);
    HWND get() const { return control_; }

private:
    static LRESULT CALLBACK Route(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    HWND control_ = nullptr;
    Handler handler_;
};
