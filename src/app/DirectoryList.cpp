#include "app/DirectoryList.h"

#include <commctrl.h>

#include <algorithm>
#include <cwctype>

#include "app/DriveList.h"
#include "app/ExecutableFiles.h"
#include "app/WindowSubclass.h"
#include "platform/LongPath.h"

namespace {

constexpr size_t kRootLength = 3;  // "C:\"

std::wstring Joined(const std::wstring& folder, const std::wstring& name) {
    return folder.size() == kRootLength ? folder + name : folder + L'\\' + name;
}

// The root row names the drive as the drive list does ("c:\").
std::wstring RootText(const std::wstring& path) { return DriveCaption(path[0], L"") + L'\\'; }

}  // namespace

std::optional<std::wstring> NormalFolderPath(std::wstring_view path) {
    if (path.empty() || path.find_first_of(L"*?") != std::wstring_view::npos) return std::nullopt;
    const std::wstring full = FullPathName(std::wstring(path)).value_or(L"");
    if (full.size() < kRootLength || full[1] != L':' || full[2] != L'\\') return std::nullopt;
    const wchar_t drive = static_cast<wchar_t>(towupper(full[0]));
    if (drive < L'A' || drive > L'Z') return std::nullopt;
    std::wstring normal{drive, L':', L'\\'};
    size_t start = kRootLength;
    while (start < full.size()) {
        size_t end = full.find(L'\\', start);
        if (end == std::wstring::npos) end = full.size();
        if (end > start) {
            const auto stored = StoredFolderName(Joined(normal, full.substr(start, end - start)));
            if (!stored) return std::nullopt;
            normal = Joined(normal, *stored);
        }
        start = end + 1;
    }
    return normal;
}

std::wstring ParentFolderPath(const std::wstring& path) {
    if (path.size() <= kRootLength) return {};
    const size_t last = path.rfind(L'\\');
    return path.substr(0, last < kRootLength ? kRootLength : last);
}

void DirectoryList::Create(HWND parent, int id, const RECT& rect, HFONT font, COLORREF text, COLORREF back,
                           std::wstring_view start) {
    look_.Set(font, text, back);
    const HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL |
                                          LBS_NOTIFY | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED |
                                          LBS_NOINTEGRALHEIGHT,
                                      rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                      GetModuleHandleW(nullptr), nullptr);
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(list, LB_SETITEMHEIGHT, 0, look_.RowHeight(list));
    list_.Attach(list, [this](UINT message, WPARAM wParam, LPARAM lParam) {
        return HandleMessage(message, wParam, lParam);
    });

    if (!start.empty()) {
        const auto normal = NormalFolderPath(start);
        const auto subdirectories = normal ? ListSubdirectoryNames(*normal) : std::nullopt;
        if (subdirectories) {
            Show(*normal, *subdirectories);
            return;
        }
    }
    wchar_t directory[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, directory);
    const auto current = NormalFolderPath(directory);
    if (current) Show(*current, ListSubdirectoryNames(*current).value_or(std::vector<std::wstring>{}));
}

bool DirectoryList::SetPath(std::wstring_view path) {
    const auto normal = NormalFolderPath(path);
    if (!normal) return false;
    const auto subdirectories = ListSubdirectoryNames(*normal);
    if (!subdirectories) return false;
    const bool changed = *normal != path_;
    Show(*normal, *subdirectories);
    if (changed && onChange) onChange();
    return true;
}

int DirectoryList::SubdirectoryCount() const { return static_cast<int>(rows_.size() - chainLength_); }

std::wstring DirectoryList::SubdirectoryPath(int index) const {
    if (index < 0 || index >= SubdirectoryCount()) return {};
    return rows_[chainLength_ + static_cast<size_t>(index)].path;
}

void DirectoryList::Refresh() {
    if (path_.empty()) return;
    Show(path_, ListSubdirectoryNames(path_).value_or(std::vector<std::wstring>{}));
}

void DirectoryList::Show(const std::wstring& path, const std::vector<std::wstring>& subdirectories) {
    path_ = path;
    rows_.clear();
    rows_.push_back(Row{RootText(path), path.substr(0, kRootLength), 0, ListGlyph::OpenFolder});
    size_t start = kRootLength;
    while (start < path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        rows_.push_back(Row{path.substr(start, end - start), path.substr(0, end),
                            static_cast<int>(rows_.size()), ListGlyph::OpenFolder});
        start = end + 1;
    }
    chainLength_ = rows_.size();
    for (const std::wstring& name : subdirectories) {
        rows_.push_back(Row{name, Joined(path, name), static_cast<int>(chainLength_),
                            ListGlyph::ClosedFolder});
    }
    FillList();
}

void DirectoryList::FillList() {
    const HWND list = list_.get();
    if (!list) return;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    int widest = 0;
    {
        const WindowDc dc(list);
        for (const Row& row : rows_) {
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.text.c_str()));
            widest = std::max(widest, look_.RowWidth(dc.get(), row.level, row.text));
        }
    }
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest), 0);
    // From the top, so the chain stays in sight while the current folder is shown.
    SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    SendMessageW(list, LB_SETCURSEL, chainLength_ - 1, 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void DirectoryList::OpenRow(int index) {
    if (index < 0 || index >= static_cast<int>(rows_.size())) return;
    const std::wstring target = rows_[static_cast<size_t>(index)].path;
    // A folder that went away since it was listed: show what is there now.
    if (!SetPath(target)) Refresh();
}

void DirectoryList::Command(WORD notification) {
    if (notification == LBN_DBLCLK) {
        OpenRow(static_cast<int>(SendMessageW(list_.get(), LB_GETCURSEL, 0, 0)));
    }
}

void DirectoryList::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID >= rows_.size()) {
        FillRect(item.hDC, &item.rcItem, look_.BackgroundBrush());
        return;
    }
    const Row& row = rows_[item.itemID];
    look_.DrawRow(item, row.level, row.glyph, row.text);
}

LRESULT DirectoryList::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE: {
            // Enter belongs to the list, not to the dialog's default button.
            const LRESULT code = DefaultSubclassProc(list_.get(), message, wParam, lParam);
            const auto* pending = reinterpret_cast<const MSG*>(lParam);
            if (pending && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN) {
                return code | DLGC_WANTMESSAGE;
            }
            return code;
        }
        case WM_KEYDOWN:
            if (wParam == VK_RETURN) {
                OpenRow(static_cast<int>(SendMessageW(list_.get(), LB_GETCURSEL, 0, 0)));
                return 0;
            }
            break;
        case WM_ERASEBKGND: {
            // Rows paint themselves; below the last one the list's own colour shows.
            RECT client;
            GetClientRect(list_.get(), &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, look_.BackgroundBrush());
            return 1;
        }
        default:
            break;
    }
    return DefaultSubclassProc(list_.get(), message, wParam, lParam);
}
