#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/FolderListLook.h"
#include "app/SubclassedControl.h"

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

    // Starts on the drive of `start` (a path), else on the drive of the current directory, which
    // is then the only drive read: the others are listed once the message loop runs, and until
    // the list first opens, only the current drive's label has been read.
    void Create(HWND parent, int id, const RECT& rect, HFONT font, COLORREF text, COLORREF back,
                std::wstring_view start = {});
    HWND Handle() const { return combo_.get(); }

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

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Reads the drives present among `letters` (bit 0 for A:); the labels of every local drive,
    // or of that one alone when given.
    void ListDrives(DWORD letters, wchar_t onlyLabelled);
    int IndexOf(wchar_t letter) const;
    void FillBox();
    void SelectCurrent();
    bool Choose(wchar_t letter);
    void TakeUserChoice();

    SubclassedControl combo_;
    FolderListLook look_;
    std::vector<Entry> drives_;
    wchar_t current_ = 0;
    bool everyDriveListed_ = false;
};
