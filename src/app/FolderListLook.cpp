#include "app/FolderListLook.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "app/TwipScale.h"

namespace {

constexpr int kGlyphSize = 16;        // design pixels at 96 DPI
constexpr int kLevelIndent = 8;
constexpr int kRowMargin = 2;
constexpr int kGlyphGap = 4;

// Paints a glyph drawn on a 16 x 16 design grid, scaled to the screen.
class GlyphCanvas {
public:
    GlyphCanvas(HDC dc, int left, int top, int dpi)
        : dc_(dc), left_(left), top_(top), dpi_(dpi),
          pen_(dc, GetStockObject(DC_PEN)), brush_(dc, GetStockObject(DC_BRUSH)) {}

    void Shape(std::initializer_list<POINT> corners, COLORREF fill, COLORREF outline) const {
        std::vector<POINT> scaled;
        for (const POINT& corner : corners) scaled.push_back(At(corner.x, corner.y));
        Colours(fill, outline);
        Polygon(dc_, scaled.data(), static_cast<int>(scaled.size()));
    }
    void Box(int left, int top, int right, int bottom, COLORREF fill, COLORREF outline) const {
        Shape({{left, top}, {right, top}, {right, bottom}, {left, bottom}}, fill, outline);
    }
    void Disc(int left, int top, int right, int bottom, COLORREF fill, COLORREF outline) const {
        const POINT from = At(left, top);
        const POINT to = At(right, bottom);
        Colours(fill, outline);
        Ellipse(dc_, from.x, from.y, to.x, to.y);
    }
    void Line(int x1, int y1, int x2, int y2, COLORREF colour) const {
        const POINT from = At(x1, y1);
        const POINT to = At(x2, y2);
        SetDCPenColor(dc_, colour);
        MoveToEx(dc_, from.x, from.y, nullptr);
        LineTo(dc_, to.x, to.y);
    }

private:
    POINT At(int x, int y) const {
        return POINT{left_ + MulDiv(x, dpi_, 96), top_ + MulDiv(y, dpi_, 96)};
    }
    void Colours(COLORREF fill, COLORREF outline) const {
        SetDCBrushColor(dc_, fill);
        SetDCPenColor(dc_, outline);
    }

    HDC dc_;
    int left_;
    int top_;
    int dpi_;
    SelectedObject pen_;
    SelectedObject brush_;
};

constexpr COLORREF kFolderLine = RGB(140, 100, 20);
constexpr COLORREF kDriveLine = RGB(24, 24, 24);

void DrawFixedDrive(const GlyphCanvas& canvas, int dy) {
    canvas.Shape({{3, 4 + dy}, {15, 4 + dy}, {13, 7 + dy}, {1, 7 + dy}}, RGB(230, 230, 230), kDriveLine);
    canvas.Shape({{13, 7 + dy}, {15, 4 + dy}, {15, 10 + dy}, {13, 13 + dy}}, RGB(120, 120, 120), kDriveLine);
    canvas.Box(1, 7 + dy, 13, 13 + dy, RGB(185, 185, 185), kDriveLine);
    canvas.Box(3, 10 + dy, 5, 11 + dy, RGB(0, 220, 0), RGB(0, 150, 0));
}

void DrawFolderBack(const GlyphCanvas& canvas, COLORREF body) {
    canvas.Shape({{1, 2}, {6, 2}, {7, 4}, {1, 4}}, RGB(230, 185, 60), kFolderLine);
    canvas.Box(1, 4, 14, 13, body, kFolderLine);
}

}  // namespace

void FolderListLook::Set(HFONT font, COLORREF text, COLORREF back) {
    font_ = font;
    text_ = text;
    backBrush_.reset(CreateSolidBrush(back));
    dpi_ = TwipScale::ForScreen().Dpi();
}

int FolderListLook::Scaled(int designPixels) const { return MulDiv(designPixels, dpi_, 96); }

int FolderListLook::RowHeight(HWND control) const {
    const WindowDc dc(control);
    const SelectedObject font(dc.get(), font_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    return std::max<int>(metrics.tmHeight + Scaled(2), Scaled(kGlyphSize + 1));
}

int FolderListLook::TextLeft(int rowLeft, int level) const {
    return rowLeft + Scaled(kRowMargin + level * kLevelIndent + kGlyphSize + kGlyphGap);
}

int FolderListLook::RowWidth(HDC dc, int level, std::wstring_view text) const {
    const SelectedObject font(dc, font_);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
    return TextLeft(0, level) + extent.cx + Scaled(2 * kRowMargin);
}

void FolderListLook::DrawRow(const DRAWITEMSTRUCT& item, int level, ListGlyph glyph,
                             std::wstring_view text) const {
    HDC dc = item.hDC;
    const RECT& row = item.rcItem;
    FillRect(dc, &row, backBrush_.get());

    const int glyphLeft = row.left + Scaled(kRowMargin + level * kLevelIndent);
    const int glyphTop = row.top + (row.bottom - row.top - Scaled(kGlyphSize)) / 2;
    DrawGlyph(dc, glyph, glyphLeft, glyphTop);

    const SelectedObject font(dc, font_);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
    const int textLeft = TextLeft(row.left, level);
    RECT highlight{textLeft - Scaled(kRowMargin), row.top,
                   std::min<int>(row.right, textLeft + extent.cx + Scaled(kRowMargin)), row.bottom};
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    COLORREF colour = text_;
    if (selected) {
        FillRect(dc, &highlight, GetSysColorBrush(COLOR_HIGHLIGHT));
        colour = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    if ((item.itemState & ODS_DISABLED) != 0) colour = GetSysColor(COLOR_GRAYTEXT);
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    RECT textArea{textLeft, row.top, highlight.right, row.bottom};
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &textArea,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(dc, &highlight);
}

void FolderListLook::DrawGlyph(HDC dc, ListGlyph glyph, int left, int top) const {
    const GlyphCanvas canvas(dc, left, top, dpi_);
    switch (glyph) {
        case ListGlyph::ClosedFolder:
            DrawFolderBack(canvas, RGB(250, 210, 90));
            canvas.Line(2, 5, 13, 5, RGB(255, 240, 170));
            break;
        case ListGlyph::OpenFolder:
            DrawFolderBack(canvas, RGB(215, 170, 55));
            canvas.Shape({{4, 7}, {16, 7}, {13, 13}, {1, 13}}, RGB(255, 228, 130), kFolderLine);
            break;
        case ListGlyph::FixedDrive:
            DrawFixedDrive(canvas, 0);
            break;
        case ListGlyph::NetworkDrive:
            DrawFixedDrive(canvas, -3);
            canvas.Line(7, 9, 7, 14, RGB(0, 150, 0));
            canvas.Line(2, 14, 14, 14, RGB(0, 150, 0));
            break;
        case ListGlyph::RemovableDrive:
            canvas.Shape({{2, 1}, {13, 1}, {14, 2}, {14, 14}, {2, 14}}, RGB(50, 70, 150), RGB(20, 30, 70));
            canvas.Box(5, 1, 11, 5, RGB(200, 200, 200), RGB(120, 120, 120));
            canvas.Box(4, 8, 12, 14, RGB(245, 245, 245), RGB(20, 30, 70));
            break;
        case ListGlyph::CdDrive:
            canvas.Disc(1, 1, 15, 15, RGB(210, 210, 222), RGB(100, 100, 110));
            canvas.Disc(5, 5, 11, 11, RGB(170, 190, 230), RGB(120, 120, 140));
            canvas.Disc(7, 7, 9, 9, RGB(250, 250, 250), RGB(120, 120, 140));
            break;
        case ListGlyph::RamDrive:
            for (int x : {3, 6, 9, 12}) {
                canvas.Line(x, 3, x, 14, RGB(200, 200, 200));
            }
            canvas.Box(2, 5, 14, 11, RGB(20, 110, 60), RGB(10, 60, 30));
            break;
    }
}
