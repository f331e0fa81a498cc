#include "app/DriveList.h"

#include <commctrl.h>

#include <algorithm>
#include <cwctype>

#include "app/ExecutableFiles.h"
#include "app/WindowSubclass.h"
#include "platform/QuietDriveErrors.h"

namespace {

constexpr int kDroppedRows = 8;
// Every drive letter, as GetLogicalDrives sets them.
constexpr DWORD kEveryLetter = (1u << 26) - 1;
// Posted to the box when it is made: the other drives are read once the message loop runs.
constexpr UINT kListOtherDrives = WM_APP;

ListGlyph GlyphForDriveType(UINT type) {
    switch (type) {
        case DRIVE_REMOVABLE: return ListGlyph::RemovableDrive;
        case DRIVE_CDROM: return ListGlyph::CdDrive;
        case DRIVE_REMOTE: return ListGlyph::NetworkDrive;
        case DRIVE_RAMDISK: return ListGlyph::RamDrive;
        default: return ListGlyph::FixedDrive;
    }
}

// Removable media would spin up (or sit empty), and a server may take long to answer, so only
// local disks are asked for their label.
bool ShowsLabel(UINT type) {
    return type == DRIVE_FIXED || type == DRIVE_RAMDISK || type == DRIVE_CDROM;
}

std::wstring RootOf(wchar_t letter) { return std::wstring{letter, L':', L'\\'}; }

std::wstring VolumeLabel(const std::wstring& root) {
    wchar_t label[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr,
                               nullptr, 0)) {
        return {};
    }
    return label;
}

// The upper-case drive letter a "C:" or "c:\path" text names, or 0.
wchar_t DriveLetterOf(std::wstring_view text) {
    if (text.size() < 2 || text[1] != L':') return 0;
    const wchar_t letter = static_cast<wchar_t>(towupper(text[0]));
    return letter >= L'A' && letter <= L'Z' ? letter : 0;
}

}  // namespace

std::wstring DriveCaption(wchar_t letter, std::wstring_view label) {
    std::wstring caption{static_cast<wchar_t>(towlower(letter)), L':'};
    if (!label.empty()) {
        caption += L" [";
        caption += label;
        caption += L']';
    }
    return caption;
}

void DriveList::Create(HWND parent, int id, const RECT& rect, HFONT font, COLORREF text, COLORREF back,
                       std::wstring_view start) {
    look_.Set(font, text, back);
    const int closedHeight = rect.bottom - rect.top;
    const int rowHeight = look_.RowHeight(parent);
    // A drop-down box is created with the height it has when open.
    const HWND combo = CreateWindowExW(0, L"COMBOBOX", L"",
                                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST |
                                           CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                                       rect.left, rect.top, rect.right - rect.left,
                                       closedHeight + kDroppedRows * rowHeight + 2, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       GetModuleHandleW(nullptr), nullptr);
    SendMessageW(combo, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(combo, CB_SETITEMHEIGHT, 0, rowHeight);
    // Closed, the box is its selection field and a frame: size the field to fit the given height.
    // Wine takes a field height 2 pixels larger than it reports, so measure and correct.
    int field = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT box;
        GetWindowRect(combo, &box);
        const int error = closedHeight - (box.bottom - box.top);
        if (error == 0) break;
        field = std::max(field + error, rowHeight - 2);
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
    combo_.Attach(combo, [this](UINT message, WPARAM wParam, LPARAM lParam) {
        return HandleMessage(message, wParam, lParam);
    });

    // The drive of the folder to start on, else of the current directory, else the first one.
    const DWORD present = GetLogicalDrives();
    const auto isPresent = [present](wchar_t letter) { return letter != 0 && (present & (1u << (letter - L'A'))) != 0; };
    wchar_t directory[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, directory);
    current_ = DriveLetterOf(start);
    if (!isPresent(current_)) current_ = DriveLetterOf(directory);
    for (wchar_t letter = L'A'; !isPresent(current_) && letter <= L'Z'; ++letter) {
        if (isPresent(letter)) current_ = letter;
    }
    if (!isPresent(current_)) current_ = 0;
    // Closed, the box shows the current drive alone: that is all the window needs to show. The
    // other drives come when the message loop runs, their labels when the list opens.
    ListDrives(current_ ? 1u << (current_ - L'A') : 0, current_);
    PostMessageW(combo, kListOtherDrives, 0, 0);
}

std::wstring DriveList::Drive() const {
    if (current_ == 0) return {};
    return std::wstring{current_, L':'};
}

bool DriveList::SetDrive(std::wstring_view drive) {
    const wchar_t letter = DriveLetterOf(drive);
    if (letter == 0) return false;
    if (letter == current_) return true;
    if (IndexOf(letter) < 0) Refresh();
    if (IndexOf(letter) < 0) return false;
    return Choose(letter);
}

void DriveList::Refresh() { ListDrives(kEveryLetter, 0); }

void DriveList::ListDrives(DWORD letters, wchar_t onlyLabelled) {
    std::vector<Entry> drives;
    {
        const QuietDriveErrors quiet;
        const DWORD present = GetLogicalDrives() & letters;
        for (int i = 0; i < 26; ++i) {
            if ((present & (1u << i)) == 0) continue;
            const wchar_t letter = static_cast<wchar_t>(L'A' + i);
            const std::wstring root = RootOf(letter);
            const UINT type = GetDriveTypeW(root.c_str());
            const bool labelled = ShowsLabel(type) && (onlyLabelled == 0 || letter == onlyLabelled);
            drives.push_back(Entry{letter, GlyphForDriveType(type), DriveCaption(letter, labelled ? VolumeLabel(root) : L"")});
        }
    }
    const auto hasLetter = [](wchar_t letter) {
        return [letter](const Entry& entry) { return entry.letter == letter; };
    };
    // The box never changes the drive by itself, so a drive that went away stays on show while
    // it is the current one.
    const auto gone = std::find_if(drives_.begin(), drives_.end(), hasLetter(current_));
    if (gone != drives_.end() && std::none_of(drives.begin(), drives.end(), hasLetter(current_))) {
        const auto place = std::find_if(drives.begin(), drives.end(), [this](const Entry& entry) {
            return entry.letter > current_;
        });
        drives.insert(place, *gone);
    }
    drives_ = std::move(drives);
    everyDriveListed_ = everyDriveListed_ || letters == kEveryLetter;
    FillBox();
}

int DriveList::IndexOf(wchar_t letter) const {
    for (size_t i = 0; i < drives_.size(); ++i) {
        if (drives_[i].letter == letter) return static_cast<int>(i);
    }
    return -1;
}

void DriveList::FillBox() {
    if (!combo_.get()) return;
    SendMessageW(combo_.get(), CB_RESETCONTENT, 0, 0);
    for (const Entry& entry : drives_) {
        SendMessageW(combo_.get(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.caption.c_str()));
    }
    SelectCurrent();
}

void DriveList::SelectCurrent() {
    if (combo_.get()) SendMessageW(combo_.get(), CB_SETCURSEL, static_cast<WPARAM>(IndexOf(current_)), 0);
}

bool DriveList::Choose(wchar_t letter) {
    if (!CanReadFolder(RootOf(letter))) return false;
    current_ = letter;
    SelectCurrent();
    if (onChange) onChange();
    return true;
}

void DriveList::TakeUserChoice() {
    const LRESULT chosen = SendMessageW(combo_.get(), CB_GETCURSEL, 0, 0);
    if (chosen >= 0 && chosen < static_cast<LRESULT>(drives_.size())) {
        const wchar_t letter = drives_[static_cast<size_t>(chosen)].letter;
        if (letter == current_ || Choose(letter)) return;
    }
    SelectCurrent();
}

void DriveList::Command(WORD notification) {
    switch (notification) {
        case CBN_DROPDOWN:
            Refresh();
            break;
        case CBN_SELCHANGE:
            // While the list is open the user is still looking; the choice counts on closing.
            if (!SendMessageW(combo_.get(), CB_GETDROPPEDSTATE, 0, 0)) TakeUserChoice();
            break;
        case CBN_CLOSEUP:
        case CBN_SELENDOK:
            TakeUserChoice();
            break;
        default:
            break;
    }
}

void DriveList::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID >= drives_.size()) {
        FillRect(item.hDC, &item.rcItem, look_.BackgroundBrush());
        return;
    }
    const Entry& entry = drives_[item.itemID];
    look_.DrawRow(item, 0, entry.glyph, entry.caption);
}

LRESULT DriveList::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kListOtherDrives:
            if (!everyDriveListed_) ListDrives(kEveryLetter, current_);
            return 0;
        case WM_CTLCOLORLISTBOX: {
            // The open list asks its box for colours; answered here, the owner need not know it.
            const HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, look_.TextColour());
            return reinterpret_cast<LRESULT>(look_.BackgroundBrush());
        }
        default:
            return DefaultSubclassProc(combo_.get(), message, wParam, lParam);
    }
}
