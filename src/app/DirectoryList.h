#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/FolderListLook.h"
#include "app/SubclassedControl.h"

// The folder a path names, written as the folder list shows it: full, with the names the file
// system stores (letter case, long names), an upper-case drive letter, "C:\" at a drive root and
// no trailing backslash elsewhere. A bare "D:" means that drive's current directory. Nothing
// when the path has wildcards, is not on a drive letter, or some part of it is not a folder.
std::optional<std::wstring> NormalFolderPath(std::wstring_view path);

// The parent of a folder in that form; "" at a drive root.
std::wstring ParentFolderPath(const std::wstring& path);

// The folder list: the chain of folders from the drive root down to the current folder (open
// folders, each level indented), then the current folder's subdirectories (closed folders, one
// level deeper), hidden and system ones included, in case-insensitive name order. A double click
// or Enter opens the selected folder. The owner passes WM_COMMAND and WM_DRAWITEM for the list on
// to Command and DrawItem.
class DirectoryList {
public:
    DirectoryList() = default;
    DirectoryList(const DirectoryList&) = delete;
    DirectoryList& operator=(const DirectoryList&) = delete;

    // Starts on the folder `start` names; on the current directory when none is given or it
    // cannot be shown. Raises no onChange.
    void Create(HWND parent, int id, const RECT& rect, HFONT font, COLORREF text, COLORREF back,
                std::wstring_view start = {});
    HWND Handle() const { return list_.get(); }

    std::wstring Path() const { return path_; }
    // Opens the folder (see NormalFolderPath) and re-reads its subdirectories. A folder that
    // cannot be read leaves everything as it was and gives false. Raises onChange when the path
    // changed.
    bool SetPath(std::wstring_view path);
    int SubdirectoryCount() const;
    // The full path of the i-th subdirectory shown; "" outside the range.
    std::wstring SubdirectoryPath(int index) const;
    std::wstring ParentPath() const { return ParentFolderPath(path_); }
    // Re-reads the subdirectories; a current folder that went away keeps its path and shows none.
    void Refresh();

    std::function<void()> onChange;

    void Command(WORD notification);
    void DrawItem(const DRAWITEMSTRUCT& item);
    HBRUSH BackgroundBrush() const { return look_.BackgroundBrush(); }
    COLORREF TextColour() const { return look_.TextColour(); }

private:
    struct Row {
        std::wstring text;
        std::wstring path;
        int level;
        ListGlyph glyph;
    };

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Show(const std::wstring& path, const std::vector<std::wstring>& subdirectories);
    void FillList();
    void OpenRow(int index);

    SubclassedControl list_;
    FolderListLook look_;
    std::wstring path_;
    std::vector<Row> rows_;
    size_t chainLength_ = 0;
};
