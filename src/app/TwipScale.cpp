#include "app/TwipScale.h"

#include <cmath>

TwipScale TwipScale::ForScreen() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return TwipScale(dpi);
}

RECT TwipScale::Rect(int left, int top, int width, int height) const {
    const int x = ToPixels(left);
    const int y = ToPixels(top);
    return RECT{x, y, x + ToPixels(width), y + ToPixels(height)};
}

int TwipScale::FontHeight(double points) const {
    return -static_cast<int>(std::lround(points * dpi_ / 72.0));
}
