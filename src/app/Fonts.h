#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "app/TwipScale.h"
#include "app/GdiHandles.h"

// A font as the layout names it: face, size in points, bold, italic.
struct FontDescription {
    std::wstring face;
    double points;
    bool bold;
    bool italic;
    bool operator==(const FontDescription&) const = default;
};

FontHandle CreateFontFor(const FontDescription& font, const TwipScale& scale);

// One font object per distinct font the window uses, alive as long as the window.
class FontCache {
public:
    explicit FontCache(const TwipScale& scale) : scale_(scale) {}
    HFONT Get(const FontDescription& font);

private:
    TwipScale scale_;
    std::vector<std::pair<FontDescription, FontHandle>> fonts_;
};
