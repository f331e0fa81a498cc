#pragma once
#include <windows.h>

#include <string_view>

#include "app/GdiHandles.h"

// The small pictures in front of the rows of the drive and folder lists.
enum class ListGlyph { OpenFolder, ClosedFolder, FixedDrive, RemovableDrive, CdDrive, NetworkDrive, RamDrive };

// The look the drive list and the folder list share: given colours and font, each row a glyph
// and a text, indented by its level, the text alone highlighted when selected.
class FolderListLook {
public:
    void Set(HFONT font, COLORREF text, COLORREF back);
    HBRUSH BackgroundBrush() const { return backBrush_.get(); }
    COLORREF TextColour() const { return text_; }
    HFONT Font() const { return font_; }

    int RowHeight(HWND control) const;
    // The width a row needs, for the horizontal scroll range.
    int RowWidth(HDC dc, int level, std::wstring_view text) const;
    void DrawRow(const DRAWITEMSTRUCT& item, int level, ListGlyph glyph, std::wstring_view text) const;

private:
    int Scaled(int designPixels) const;
    int TextLeft(int rowLeft, int level) const;
    void DrawGlyph(HDC dc, ListGlyph glyph, int left, int top) const;

    HFONT font_ = nullptr;
    COLORREF text_ = RGB(0, 0, 0);
    BrushHandle backBrush_;
    int dpi_ = 96;
};
