#pragma once
#include <windows.h>

// Control positions are stored in twips (1/1440 inch). The screen's real DPI turns them into
// pixels, so the layout keeps its proportions on high-DPI screens.
class TwipScale {
public:
    explicit TwipScale(int dotsPerInch) : dpi_(dotsPerInch > 0 ? dotsPerInch : 96) {}

    // The DPI of the screen the program runs on.
    static TwipScale ForScreen();

    int Dpi() const { return dpi_; }
    // Twips per pixel, rounded to a whole number (15 at 96 DPI).
    int TwipsPerPixel() const { return (1440 + dpi_ / 2) / dpi_; }
    int ToPixels(int twips) const { return MulDiv(twips, dpi_, 1440); }
    int ToTwips(int pixels) const { return MulDiv(pixels, 1440, dpi_); }
    // Pixels designed at 96 DPI, scaled to this screen.
    int ScaleDesignPixels(int pixelsAt96) const { return MulDiv(pixelsAt96, dpi_, 96); }
    RECT Rect(int left, int top, int width, int height) const;
    // Font height for CreateFont from a size in points.
    int FontHeight(double points) const;

private:
    int dpi_;
};
