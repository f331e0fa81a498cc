#include "app/Fonts.h"

FontHandle CreateFontFor(const FontSpec& spec, const TwipScale& scale) {
    return FontHandle(CreateFontW(scale.FontHeight(spec.points), 0, 0, 0,
                                  spec.bold ? FW_BOLD : FW_NORMAL, spec.italic ? TRUE : FALSE,
                                  FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, spec.face.c_str()));
}
