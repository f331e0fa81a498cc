#pragma once
#include <string>

#include "app/TwipScale.h"
#include "platform/GdiHandles.h"

// A font as the layout names it: face, size in points, bold, italic.
struct FontSpec {
    std::wstring face;
    double points;
    bool bold;
    bool italic;
};

FontHandle CreateFontFor(const FontSpec& font, const TwipScale& scale);
