#pragma once
#include <algorithm>
#include <cstddef>

#include "app/ControlFactory.h"

// Where the Quick Menu's items stand on the strip, in twips, for any number of items up to
// kMostItems: between the caption at the top and the picture at the bottom, 580 twips apart with
// 32-pixel icons as long as they fit, closer and with smaller icons when they do not, so that no
// icon, frame or raised button covers a neighbouring icon.
class StripLayout {
public:
    static constexpr size_t kMostItems = 8;
    // The top caption's foot and the bottom picture's top.
    static constexpr int kCaptionBottom = 40 + 495;
    static constexpr int kBottomPictureTop = 4080;

    constexpr explicit StripLayout(size_t itemCount) : step_(StepFor(itemCount)) {}

    // Item i's icon.
    constexpr TwipRect Icon(size_t index) const {
        const int size = Scaled(kIconSize);
        return {kIconCentre - size / 2, Top(index), size, size};
    }
    // The frame on the open item.
    constexpr TwipRect Frame(size_t index) const {
        return {0, Top(index) - Scaled(kAboveIcon), kButtonWidth, Scaled(kFrameHeight)};
    }
    // The raised button over the hovered item.
    constexpr TwipRect Selector(size_t index) const {
        return {0, Top(index) - Scaled(kAboveIcon), kButtonWidth, Scaled(kSelectorHeight)};
    }

private:
    // The layout of up to six items; more are drawn smaller in proportion.
    static constexpr int kFirstTop = 620;
    static constexpr int kStep = 580;
    static constexpr int kIconSize = 480;
    static constexpr int kIconCentre = 120 + kIconSize / 2;
    static constexpr int kAboveIcon = 80;
    static constexpr int kFrameHeight = 615;
    static constexpr int kSelectorHeight = 595;
    static constexpr int kButtonWidth = 780;

    // The widest step at which the last item's frame still ends above the bottom picture.
    static constexpr int StepFor(size_t itemCount) {
        if (itemCount <= 1) return kStep;
        const int below = kFrameHeight - kAboveIcon;  // the frame's reach under its item's top
        const int fitting = (kBottomPictureTop - kFirstTop) * kStep /
                            (static_cast<int>(itemCount - 1) * kStep + below);
        return std::min(kStep, fitting);
    }
    constexpr int Scaled(int twips) const { return twips * step_ / kStep; }
    constexpr int Top(size_t index) const { return kFirstTop + step_ * static_cast<int>(index); }

    int step_;
};
