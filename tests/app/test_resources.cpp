// The pictures linked into this test program are the program's own: they are read back the way
// the window loads them and checked for the properties the window relies on.
#include "support/doctest_wide.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "app/PanelTable.h"
#include "app/ResourceIds.h"

namespace {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using GdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiObjectDeleter>;

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

struct MemoryDcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

HINSTANCE ThisModule() { return GetModuleHandleW(nullptr); }

// The two bitmaps GetIconInfo hands over belong to the caller.
struct IconParts {
    bool isIcon = false;
    POINT hotSpot{};
    GdiObject mask;
    GdiObject colour;  // null for a monochrome cursor: its mask then holds AND over XOR
};

IconParts PartsOf(HICON icon) {
    ICONINFO info{};
    REQUIRE(GetIconInfo(icon, &info));
    IconParts parts;
    parts.isIcon = info.fIcon != FALSE;
    parts.hotSpot = {static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
    parts.mask.reset(info.hbmMask);
    parts.colour.reset(info.hbmColor);
    return parts;
}

BITMAP BitmapOf(HGDIOBJ bitmap) {
    BITMAP result{};
    REQUIRE(GetObjectW(bitmap, sizeof result, &result) == sizeof result);
    return result;
}

// Top-down 32-bit pixels of any bitmap (monochrome ones come back black and white).
std::vector<RGBQUAD> PixelsOf(HBITMAP bitmap) {
    const BITMAP size = BitmapOf(bitmap);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.bmWidth;
    info.bmiHeader.biHeight = -size.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> pixels(static_cast<size_t>(size.bmWidth) * size.bmHeight);
    const MemoryDc dc(CreateCompatibleDC(nullptr));
    REQUIRE(dc);
    REQUIRE(GetDIBits(dc.get(), bitmap, 0, size.bmHeight, pixels.data(), &info, DIB_RGB_COLORS) ==
            size.bmHeight);
    return pixels;
}

double Luminance(const RGBQUAD& p) {
    return 0.299 * p.rgbRed + 0.587 * p.rgbGreen + 0.114 * p.rgbBlue;
}

constexpr int kIconSize = 32;
constexpr BYTE kStripGrey = 80;

// The icon as it appears when drawn over a plain background of one grey level.
std::vector<RGBQUAD> DrawnOver(HICON icon, BYTE background) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kIconSize;
    info.bmiHeader.biHeight = -kIconSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const GdiObject surface(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    REQUIRE(surface);
    auto* pixels = static_cast<RGBQUAD*>(bits);
    std::fill(pixels, pixels + kIconSize * kIconSize,
              RGBQUAD{background, background, background, 0});
    {
        const MemoryDc dc(CreateCompatibleDC(nullptr));
        REQUIRE(dc);
        const HGDIOBJ previous = SelectObject(dc.get(), surface.get());
        CHECK(DrawIconEx(dc.get(), 0, 0, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL));
        SelectObject(dc.get(), previous);
    }
    GdiFlush();
    return {pixels, pixels + kIconSize * kIconSize};
}

bool IsGrey(const RGBQUAD& p, BYTE level) {
    return p.rgbRed == level && p.rgbGreen == level && p.rgbBlue == level;
}

// Transparent around the picture (whatever lies below shows at the corners), covering a good
// part of the square, with bright parts that stand out from the strip's dark grey.
void CheckClearOnStrip(HICON icon) {
    const int corners[] = {0, kIconSize - 1, kIconSize * (kIconSize - 1),
                           kIconSize * kIconSize - 1};
    for (BYTE background : {BYTE{255}, BYTE{0}}) {
        const std::vector<RGBQUAD> drawn = DrawnOver(icon, background);
        for (int corner : corners) {
            CAPTURE(corner);
            CHECK(IsGrey(drawn[corner], background));
        }
    }
    const std::vector<RGBQUAD> drawn = DrawnOver(icon, kStripGrey);
    const auto isStrip = [](const RGBQUAD& p) { return IsGrey(p, kStripGrey); };
    for (int corner : corners) {
        CAPTURE(corner);
        CHECK(isStrip(drawn[corner]));
    }
    const auto covered =
        std::count_if(drawn.begin(), drawn.end(), [&](const RGBQUAD& p) { return !isStrip(p); });
    const auto contrasting = std::count_if(drawn.begin(), drawn.end(), [](const RGBQUAD& p) {
        return std::abs(Luminance(p) - kStripGrey) >= 70.0;
    });
    CAPTURE(covered);
    CAPTURE(contrasting);
    CHECK(covered >= kIconSize * kIconSize / 4);
    CHECK(contrasting >= kIconSize * kIconSize / 8);
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInResource;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

struct ResourceData {
    const BYTE* bytes = nullptr;
    DWORD size = 0;
};

ResourceData FindData(LPCWSTR name, LPCWSTR type) {
    const HRSRC found = FindResourceW(ThisModule(), name, type);
    REQUIRE(found);
    const HGLOBAL loaded = LoadResource(ThisModule(), found);
    REQUIRE(loaded);
    return {static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(ThisModule(), found)};
}

// The image of an icon group with the given size and colour depth, as stored in the executable.
ResourceData StoredImage(int iconId, WORD bitCount, int size = kIconSize) {
    const ResourceData group = FindData(MAKEINTRESOURCEW(iconId), RT_GROUP_ICON);
    REQUIRE(group.size >= sizeof(GroupIconHeader));
    const auto* header = reinterpret_cast<const GroupIconHeader*>(group.bytes);
    REQUIRE(group.size >= sizeof(GroupIconHeader) + header->count * sizeof(GroupIconEntry));
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);
    for (WORD i = 0; i < header->count; ++i) {
        if (entries[i].width == size && entries[i].height == size &&
            entries[i].bitCount == bitCount) {
            return FindData(MAKEINTRESOURCEW(entries[i].id), RT_ICON);
        }
    }
    FAIL("no " << size << " x " << size << " image with " << bitCount << " bits per pixel");
    return {};
}

struct IconCase {
    int id;
    std::string name;
    WORD paletteBits;  // 4: 16 colours, 8: 256 colours
};

// The program's icon, each Quick Menu item's by the panel table (the Turbo Vestrim item's in 256
// colours, the others in 16) and the strip's bottom picture.
std::vector<IconCase> AllIcons() {
    std::vector<IconCase> icons{{IDI_APP, "program", 4}};
    for (size_t index = 0; index < kPanelCount; ++index) {
        icons.push_back({IDI_QMENU_FIRST + static_cast<int>(index), kPanels[index].picture,
                         static_cast<WORD>(index == PanelIndex<TurboPanel>() ? 8 : 4)});
    }
    icons.push_back({IDI_QMENU_BOTTOM, "Patient Information Sheet", 8});
    return icons;
}

}  // namespace

TEST_CASE("the panel background is a light, calm 337 x 313 picture") {
    const GdiObject bitmap(LoadImageW(ThisModule(), MAKEINTRESOURCEW(IDB_PANEL_BACKGROUND),
                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    REQUIRE(bitmap);
    const BITMAP size = BitmapOf(bitmap.get());
    CHECK(size.bmWidth == 337);
    CHECK(size.bmHeight == 313);
    CHECK(size.bmBitsPixel == 24);

    const std::vector<RGBQUAD> pixels = PixelsOf(static_cast<HBITMAP>(bitmap.get()));
    const auto luminanceAt = [&](int x, int y) { return Luminance(pixels[y * size.bmWidth + x]); };
    double darkest = 255.0, lightest = 0.0, steepest = 0.0;
    for (int y = 0; y < size.bmHeight; ++y) {
        for (int x = 0; x < size.bmWidth; ++x) {
            const double here = luminanceAt(x, y);
            darkest = std::min(darkest, here);
            lightest = std::max(lightest, here);
            if (x + 1 < size.bmWidth) {
                steepest = std::max(steepest, std::abs(here - luminanceAt(x + 1, y)));
            }
            if (y + 1 < size.bmHeight) {
                steepest = std::max(steepest, std::abs(here - luminanceAt(x, y + 1)));
            }
        }
    }
    CAPTURE(darkest);
    CAPTURE(lightest);
    CAPTURE(steepest);
    CHECK(darkest > 170.0);           // black and dark labels stay readable everywhere
    CHECK(lightest - darkest > 8.0);  // a picture, not a flat fill
    CHECK(steepest < 12.0);           // no texture or hard edge behind the labels
}

TEST_CASE("every icon loads at 32 x 32 and stands out on the grey strip with a clear background") {
    for (const IconCase& icon : AllIcons()) {
        CAPTURE(icon.name);
        const Icon loaded(
            static_cast<HICON>(LoadImageW(ThisModule(), MAKEINTRESOURCEW(icon.id), IMAGE_ICON,
                                          kIconSize, kIconSize, LR_DEFAULTCOLOR)));
        REQUIRE(loaded);
        const IconParts parts = PartsOf(loaded.get());
        CHECK(parts.isIcon);
        REQUIRE(parts.colour);
        CHECK(BitmapOf(parts.colour.get()).bmWidth == kIconSize);
        CHECK(BitmapOf(parts.colour.get()).bmHeight == kIconSize);
        CHECK(BitmapOf(parts.mask.get()).bmWidth == kIconSize);

        CheckClearOnStrip(loaded.get());
    }
}

TEST_CASE("every icon carries a paletted 32 x 32 image of the required colour depth") {
    for (const IconCase& icon : AllIcons()) {
        CAPTURE(icon.name);
        const ResourceData image = StoredImage(icon.id, icon.paletteBits);
        REQUIRE(image.size > sizeof(BITMAPINFOHEADER));
        const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image.bytes);
        CHECK(header->biWidth == kIconSize);
        CHECK(header->biHeight == 2 * kIconSize);  // colour image over its AND mask
        CHECK(header->biBitCount == icon.paletteBits);
        const DWORD paletteEntries =
            header->biClrUsed != 0 ? header->biClrUsed : 1u << icon.paletteBits;
        CHECK(paletteEntries <= (1u << icon.paletteBits));
        const DWORD stride = ((kIconSize * icon.paletteBits + 31) / 32) * 4;
        const DWORD maskStride = ((kIconSize + 31) / 32) * 4;
        CHECK(image.size == header->biSize + paletteEntries * sizeof(RGBQUAD) +
                                (stride + maskStride) * kIconSize);

        // The platform accepts that image on its own, at 32 x 32.
        const Icon single(CreateIconFromResourceEx(const_cast<BYTE*>(image.bytes), image.size, TRUE,
                                                   0x00030000, kIconSize, kIconSize,
                                                   LR_DEFAULTCOLOR));
        REQUIRE(single);
        const IconParts parts = PartsOf(single.get());
        REQUIRE(parts.colour);
        CHECK(BitmapOf(parts.colour.get()).bmWidth == kIconSize);
        CHECK(BitmapOf(parts.colour.get()).bmHeight == kIconSize);
        CheckClearOnStrip(single.get());
    }
}

TEST_CASE("the program icon has its own 16 x 16 image for the title bar") {
    const ResourceData image = StoredImage(IDI_APP, 4, 16);
    const Icon small(CreateIconFromResourceEx(const_cast<BYTE*>(image.bytes), image.size, TRUE,
                                              0x00030000, 16, 16, LR_DEFAULTCOLOR));
    REQUIRE(small);
    const IconParts parts = PartsOf(small.get());
    REQUIRE(parts.colour);
    CHECK(BitmapOf(parts.colour.get()).bmWidth == 16);
    CHECK(BitmapOf(parts.colour.get()).bmHeight == 16);
}

TEST_CASE("the Quick Menu cursor is a 32 x 32 pointer whose hot spot is its topmost tip") {
    const HCURSOR cursor = LoadCursorW(ThisModule(), MAKEINTRESOURCEW(IDC_QMENU_SELECTOR));
    REQUIRE(cursor);  // shared: the system frees it
    const IconParts parts = PartsOf(cursor);
    CHECK_FALSE(parts.isIcon);

    const BITMAP mask = BitmapOf(parts.mask.get());
    CHECK(mask.bmWidth == kIconSize);
    CHECK(mask.bmHeight == (parts.colour ? kIconSize : 2 * kIconSize));
    // The AND mask is black where the pointer is drawn.
    const std::vector<RGBQUAD> andMask = PixelsOf(static_cast<HBITMAP>(parts.mask.get()));
    const auto drawn = [&](int x, int y) {
        return x >= 0 && x < kIconSize && andMask[y * kIconSize + x].rgbRed == 0;
    };
    int topRow = -1, drawnCount = 0;
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            if (drawn(x, y)) {
                ++drawnCount;
                if (topRow < 0) topRow = y;
            }
        }
    }
    CAPTURE(parts.hotSpot.x);
    CAPTURE(parts.hotSpot.y);
    CAPTURE(topRow);
    CHECK(drawnCount >= 150);  // a hand, not a speck
    REQUIRE(topRow >= 0);
    int tipWidth = 0;
    for (int x = 0; x < kIconSize; ++x) tipWidth += drawn(x, topRow) ? 1 : 0;
    CAPTURE(tipWidth);
    CHECK(tipWidth <= 4);  // a pointed tip, not an edge
    CHECK(parts.hotSpot.y == topRow);
    CHECK(drawn(parts.hotSpot.x, topRow));
}

TEST_CASE("each Quick Menu item carries the picture its row of the panel table names") {
    const auto drawnOverStrip = [](size_t index) {
        const Icon loaded(static_cast<HICON>(LoadImageW(ThisModule(), MAKEINTRESOURCEW(IDI_QMENU_FIRST + static_cast<int>(index)),
                                                        IMAGE_ICON, kIconSize, kIconSize, LR_DEFAULTCOLOR)));
        REQUIRE(loaded);
        return DrawnOver(loaded.get(), kStripGrey);
    };
    const auto same = [](const std::vector<RGBQUAD>& a, const std::vector<RGBQUAD>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const RGBQUAD& p, const RGBQUAD& q) {
            return p.rgbRed == q.rgbRed && p.rgbGreen == q.rgbGreen && p.rgbBlue == q.rgbBlue;
        });
    };
    // Rows that name one picture show it alike; rows that name two show two.
    for (size_t a = 0; a < kPanelCount; ++a) {
        for (size_t b = a + 1; b < kPanelCount; ++b) {
            CAPTURE(a);
            CAPTURE(b);
            const bool samePicture = std::string(kPanels[a].picture) == kPanels[b].picture;
            CHECK(same(drawnOverStrip(a), drawnOverStrip(b)) == samePicture);
        }
    }
    // No icon beyond the table's rows.
    CHECK(FindResourceW(ThisModule(), MAKEINTRESOURCEW(IDI_QMENU_FIRST + static_cast<int>(kPanelCount)), RT_GROUP_ICON) ==
          nullptr);
}
