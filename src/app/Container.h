#pragma once
#include <windows.h>

// The bordered panels and the Quick Menu strip: plain child windows that paint a background
// (a colour, optionally a picture at the top left) and pass their children's notifications on
// to the main window, which owns every control.
namespace Container {

struct Look {
    COLORREF backColour;
    HBITMAP picture;  // scaled background picture, or nullptr; owned by the main window
    bool border;
};

// Creates a container; `look` is copied.
HWND Create(HWND parent, const RECT& rect, const Look& look, bool visible);

// The brush a transparent label on this container is painted with: the container's own
// background, aligned with the label's position so the label looks see-through.
HBRUSH TransparentBackgroundFor(HWND container, HWND child, HDC childDc);

}  // namespace Container
