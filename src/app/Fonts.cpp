#include "app/Fonts.h"

FontHandle CreateFontFor(const FontDescription& font, const TwipScale& scale) {
    return FontHandle(CreateFontW(scale.FontHeight(font.points), 0, 0, 0,
                                  font.bold ? FW_BOLD : FW_NORMAL, font.italic ? TRUE : FALSE,
                                  FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, font.face.c_str()));
}

HFONT FontCache::Get(const FontDescription& font) {
    for (const auto& [known, handle] : fonts_) {
        if (known == font) return handle.get();
    }
    fonts_.emplace_back(font, CreateFontFor(font, scale_));
    return fonts_.back().second.get();
}
