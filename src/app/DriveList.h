#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/GdiHandles.h"

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

// How the drive list shows a drive: the letter in lower case and a colon, then the volume label
// in brackets when there is one ("c: [System]").
std::wstring DriveCaption(wchar_t letter, std::wstring_view label);

// A drop-down list of the logical drives. Choosing a drive that is not ready (no medium,
// unreachable) keeps the previous one. The owner passes WM_COMMAND and WM_DRAWITEM for the box
// on to Command and DrawItem, and answers WM_CTLCOLORLISTBOX / WM_CTLCOLORSTATIC for it with
// BackgroundBrush and TextColour.
class DriveList {
public:
    DriveList() = default;
    DriveList(const DriveList&) = delete;
    DriveList& operator=(const DriveList&) = delete;
    ~DriveList();

    // Starts on the drive of the current directory.
    void Create(HWND parent, int id, const RECT& rect, HFONT font, COLORREF text, COLORREF back);
    HWND Handle() const { return combo_; }

    // The current drive as "C:".
    std::wstring Drive() const;
    // Accepts "C:" or any path that starts with a drive letter. Raises onChange when the drive
    // changed; false (and nothing changes) for an unknown or not-ready drive.
    bool SetDrive(std::wstring_view drive);
    // Re-reads the drive set; the current drive stays listed even when it has gone.
    void Refresh();

    std::function<void()> onChange;

    void Command(WORD notification);
    void DrawItem(const DRAWITEMSTRUCT& item);
    HBRUSH BackgroundBrush() const { return look_.BackgroundBrush(); }
    COLORREF TextColour() const { return look_.TextColour(); }

private:
    struct Entry {
        wchar_t letter;
        ListGlyph glyph;
        std::wstring caption;
    };

    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    int IndexOf(wchar_t letter) const;
    void FillBox();
    void SelectCurrent();
    bool Choose(wchar_t letter);
    void TakeUserChoice();

    HWND combo_ = nullptr;
    FolderListLook look_;
    std::vector<Entry> drives_;
    wchar_t current_ = 0;
};
