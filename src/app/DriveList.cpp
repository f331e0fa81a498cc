#include "app/DriveList.h"

#include <commctrl.h>

#include <algorithm>
#include <cwctype>
#include <initializer_list>

#include "app/ExecutableFiles.h"
#include "app/TwipScale.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr int kGlyphSize = 16;        // design pixels at 96 DPI
constexpr int kLevelIndent = 8;
constexpr int kRowMargin = 2;
constexpr int kGlyphGap = 4;
constexpr int kDroppedRows = 8;

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

std::wstring DriveCaption(wchar_t letter, std::wstring_view label) {
    std::wstring caption{static_cast<wchar_t>(towlower(letter)), L':'};
    if (!label.empty()) {
        caption += L" [";
        caption += label;
        caption += L']';
    }
    return caption;
}

DriveList::~DriveList() {
    if (combo_) RemoveWindowSubclass(combo_, SubclassProc, kSubclassId);
}

void DriveList::Create(HWND parent, int id, const RECT& rect, HFONT font, COLORREF text,
                       COLORREF back) {
    look_.Set(font, text, back);
    const int closedHeight = rect.bottom - rect.top;
    const int rowHeight = look_.RowHeight(parent);
    // A drop-down box is created with the height it has when open.
    combo_ = CreateWindowExW(0, L"COMBOBOX", L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST |
                                 CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                             rect.left, rect.top, rect.right - rect.left,
                             closedHeight + kDroppedRows * rowHeight + 2, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
    SendMessageW(combo_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(combo_, CB_SETITEMHEIGHT, 0, rowHeight);
    // Closed, the box is its selection field and a frame: size the field to fit the given height.
    // Wine takes a field height 2 pixels larger than it reports, so measure and correct.
    int field = static_cast<int>(SendMessageW(combo_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT box;
        GetWindowRect(combo_, &box);
        const int error = closedHeight - (box.bottom - box.top);
        if (error == 0) break;
        field = std::max(field + error, rowHeight - 2);
        SendMessageW(combo_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
    SetWindowSubclass(combo_, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));

    wchar_t directory[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, directory);
    current_ = DriveLetterOf(directory);
    Refresh();
    if (IndexOf(current_) < 0) {
        current_ = drives_.empty() ? 0 : drives_.front().letter;
        SelectCurrent();
    }
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

void DriveList::Refresh() {
    std::vector<Entry> drives;
    {
        const QuietDriveErrors quiet;
        const DWORD present = GetLogicalDrives();
        for (int i = 0; i < 26; ++i) {
            if ((present & (1u << i)) == 0) continue;
            const wchar_t letter = static_cast<wchar_t>(L'A' + i);
            const std::wstring root = RootOf(letter);
            const UINT type = GetDriveTypeW(root.c_str());
            drives.push_back(Entry{letter, GlyphForDriveType(type),
                                   DriveCaption(letter, ShowsLabel(type) ? VolumeLabel(root) : L"")});
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
    FillBox();
}

int DriveList::IndexOf(wchar_t letter) const {
    for (size_t i = 0; i < drives_.size(); ++i) {
        if (drives_[i].letter == letter) return static_cast<int>(i);
    }
    return -1;
}

void DriveList::FillBox() {
    if (!combo_) return;
    SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
    for (const Entry& entry : drives_) {
        SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.caption.c_str()));
    }
    SelectCurrent();
}

void DriveList::SelectCurrent() {
    if (combo_) SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(IndexOf(current_)), 0);
}

bool DriveList::Choose(wchar_t letter) {
    if (!CanReadFolder(RootOf(letter))) return false;
    current_ = letter;
    SelectCurrent();
    if (onChange) onChange();
    return true;
}

void DriveList::TakeUserChoice() {
    const LRESULT chosen = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
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
            if (!SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0)) TakeUserChoice();
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

LRESULT CALLBACK DriveList::SubclassProc(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR self) {
    return reinterpret_cast<DriveList*>(self)->HandleMessage(message, wParam, lParam);
}

LRESULT DriveList::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORLISTBOX: {
            // The open list asks its box for colours; answered here, the owner need not know it.
            const HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, look_.TextColour());
            return reinterpret_cast<LRESULT>(look_.BackgroundBrush());
        }
        case WM_NCDESTROY: {
            HWND combo = combo_;
            RemoveWindowSubclass(combo, SubclassProc, kSubclassId);
            combo_ = nullptr;
            return DefSubclassProc(combo, message, wParam, lParam);
        }
        default:
            return DefSubclassProc(combo_, message, wParam, lParam);
    }
}
