#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <optional>
#include <string>
#include <vector>

#include "app/DirectoryList.h"
#include "app/DriveList.h"
#include "app/ExecutableFiles.h"
#include "app/Fonts.h"
#include "app/TwipScale.h"
#include "app/MessagePump.h"
#include "support/TempFolder.h"
#include "support/WindowInput.h"
#include "support/doctest_wide.h"

using xpv_test::PressKey;

namespace {

using xpv_test::TempFolder;

constexpr COLORREF kText = RGB(0xE0, 0xE0, 0xE0);
constexpr COLORREF kBack = RGB(0x40, 0x40, 0x40);
constexpr int kDriveId = 200;
constexpr int kDirectoryId = 201;

enum class Shown { No, Yes };

// A top-level window owning one drive list and one folder list, passing their notifications on
// the way the main window does. Shown when a test needs the keyboard focus or the screen: under
// Xvfb without a window manager, hiding a shown window costs Wine two seconds.
class Host {
public:
    explicit Host(Shown shown = Shown::No) {
        static const ATOM windowClass = [] {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = WindowProc;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
            windowClass.lpszClassName = L"XpvFolderControlsTest";
            return RegisterClassW(&windowClass);
        }();
        REQUIRE(windowClass != 0);
        const TwipScale scale = TwipScale::ForScreen();
        font_ = CreateFontFor(FontDescription{L"Arial", 8.25, true, false}, scale);
        window_ = CreateWindowExW(0, L"XpvFolderControlsTest", L"Folder controls",
                                  WS_OVERLAPPEDWINDOW, 40, 40, scale.ToPixels(2655) + 16,
                                  scale.ToPixels(2820) + 40, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), this);
        REQUIRE(window_ != nullptr);
        drive.Create(window_, kDriveId, scale.Rect(120, 120, 2415, 330), font_.get(), kText, kBack);
        directory.Create(window_, kDirectoryId, scale.Rect(120, 450, 2415, 2250), font_.get(), kText, kBack);
        if (shown == Shown::Yes) {
            ShowWindow(window_, SW_SHOWNORMAL);
            SetForegroundWindow(window_);
            UpdateWindow(window_);
        }
        DoEvents();
    }
    ~Host() { DestroyWindow(window_); }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    HWND Window() const { return window_; }

    DriveList drive;
    DirectoryList directory;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* host = reinterpret_cast<Host*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!host) return DefWindowProcW(window, message, wParam, lParam);
        switch (message) {
            case WM_COMMAND: {
                const HWND control = reinterpret_cast<HWND>(lParam);
                if (control && control == host->drive.Handle()) host->drive.Command(HIWORD(wParam));
                if (control && control == host->directory.Handle()) host->directory.Command(HIWORD(wParam));
                return 0;
            }
            case WM_DRAWITEM: {
                const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
                if (item.hwndItem == host->drive.Handle()) host->drive.DrawItem(item);
                if (item.hwndItem == host->directory.Handle()) host->directory.DrawItem(item);
                return TRUE;
            }
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORSTATIC:
                if (reinterpret_cast<HWND>(lParam) == host->drive.Handle()) {
                    SetTextColor(reinterpret_cast<HDC>(wParam), host->drive.TextColour());
                    return reinterpret_cast<LRESULT>(host->drive.BackgroundBrush());
                }
                break;
            case WM_NCDESTROY:
                SetWindowLongPtrW(window, GWLP_USERDATA, 0);
                break;
            default:
                break;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    FontHandle font_;
    HWND window_ = nullptr;
};

// The first letter from `from` down to E that names no drive; 0 when all are taken.
wchar_t FreeDriveLetter(wchar_t from) {
    const DWORD present = GetLogicalDrives();
    for (wchar_t letter = from; letter > L'D'; --letter) {
        if ((present & (1u << (letter - L'A'))) == 0) return letter;
    }
    return 0;
}

// A drive letter that names nothing readable: a device name pointing at a folder that does not
// exist. (Under Wine every drive defined this way is listed but cannot be read.)
class NotReadyDrive {
public:
    NotReadyDrive() : letter_(FreeDriveLetter(L'Y')) {
        REQUIRE(letter_ != 0);
        REQUIRE(DefineDosDeviceW(0, Name().c_str(), L"C:\\xpv-no-such-folder"));
    }
    ~NotReadyDrive() { DefineDosDeviceW(DDD_REMOVE_DEFINITION, Name().c_str(), nullptr); }
    NotReadyDrive(const NotReadyDrive&) = delete;
    NotReadyDrive& operator=(const NotReadyDrive&) = delete;

    wchar_t Letter() const { return letter_; }
    std::wstring Name() const { return std::wstring{letter_, L':'}; }

private:
    wchar_t letter_;
};

// The messages a list box or a combo box answers about its items.
struct ItemMessages {
    UINT count;
    UINT length;
    UINT text;
};

std::vector<std::wstring> ItemTexts(HWND control, const ItemMessages& messages) {
    std::vector<std::wstring> texts;
    const int count = static_cast<int>(SendMessageW(control, messages.count, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(control, messages.length, i, 0)) + 1, L'\0');
        text.resize(static_cast<size_t>(SendMessageW(control, messages.text, i, reinterpret_cast<LPARAM>(text.data()))));
        texts.push_back(text);
    }
    return texts;
}

std::vector<std::wstring> BoxTexts(HWND box) { return ItemTexts(box, {CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT}); }

std::wstring BoxSelection(HWND box) {
    const LRESULT index = SendMessageW(box, CB_GETCURSEL, 0, 0);
    if (index < 0) return L"(none)";
    return BoxTexts(box)[static_cast<size_t>(index)];
}

std::vector<std::wstring> ListTexts(HWND list) { return ItemTexts(list, {LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT}); }

std::wstring Listed(const std::vector<std::wstring>& texts) {
    std::wstring line;
    for (const std::wstring& text : texts) line += L"|" + text;
    return line;
}

int RowOf(HWND list, const std::wstring& text) {
    const std::vector<std::wstring> texts = ListTexts(list);
    for (size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] == text) return static_cast<int>(i);
    }
    return -1;
}

// The mouse as the user works it: scroll the row into view, then two clicks on it.
void DoubleClickRow(HWND list, int row) {
    REQUIRE(row >= 0);
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(row), 0);
    RECT rect{};
    REQUIRE(SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)) != LB_ERR);
    const LPARAM at = MAKELPARAM(rect.left + 40, (rect.top + rect.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
    DoEvents();
}

std::wstring CurrentDirectory() {
    wchar_t directory[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, directory);
    return directory;
}

// The chain rows the folder list shows for a normal path: "c:\", then each folder name.
std::vector<std::wstring> ChainOf(const std::wstring& path) {
    std::vector<std::wstring> chain{DriveCaption(path[0], L"") + L"\\"};
    size_t start = 3;
    while (start < path.size()) {
        const size_t end = std::min(path.find(L'\\', start), path.size());
        chain.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return chain;
}

// A tree with folders of every kind the list must show, and a file it must not.
struct FolderTree {
    FolderTree() : scratch(L"xpv_folder_list") {
        scratch.AddFolder(L"Alpha");
        scratch.AddFolder(L"Alpha\\Deep");
        scratch.AddFolder(L"beta");
        scratch.AddFolder(L"Gamma", FILE_ATTRIBUTE_HIDDEN);
        scratch.AddFolder(L"Omega", FILE_ATTRIBUTE_SYSTEM);
        scratch.AddFolder(kUnicode);
        scratch.AddFile(L"file.txt");
        const auto normal = NormalFolderPath(scratch.Path());
        REQUIRE(normal.has_value());
        REQUIRE(CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, normal->c_str(), -1,
                               scratch.Path().c_str(), -1) == CSTR_EQUAL);
        root = *normal;
    }
    std::wstring Below(const std::wstring& relative) const { return root + L"\\" + relative; }

    static constexpr const wchar_t* kUnicode = L"\u00dcn\u00efc\u00f8d\u00e9 \u2605 \u65e5\u672c";
    TempFolder scratch;
    std::wstring root;
};

// In the order the list shows them: letter case does not count.
const std::vector<std::wstring> kTreeSubdirectories = {L"Alpha", L"beta", L"Gamma", L"Omega",
                                                       FolderTree::kUnicode};

// A folder list opened at the root of a fresh tree, counting the changes it announces.
template <Shown shown>
struct FolderListAtTree {
    FolderListAtTree() : host(shown) {
        REQUIRE(host.directory.SetPath(tree.root));
        host.directory.onChange = [this] { ++changes; };
    }
    FolderTree tree;
    Host host;
    int changes = 0;
};
using OpenFolderList = FolderListAtTree<Shown::No>;
using ShownFolderList = FolderListAtTree<Shown::Yes>;

}  // namespace

TEST_CASE("A drive is captioned by its lower-case letter and, when it has one, its label") {
    struct Case {
        wchar_t letter;
        const wchar_t* label;
        const wchar_t* caption;
    };
    const Case cases[] = {
        {L'C', L"", L"c:"},
        {L'c', L"System", L"c: [System]"},
        {L'Z', L"Data Disk", L"z: [Data Disk]"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.caption);
        CHECK(DriveCaption(c.letter, c.label) == c.caption);
    }
}

// The captions of the drives among `letters` (bit 0 for A:), with the labels of the fixed ones, or
// of that one alone when given.
std::vector<std::wstring> DriveCaptions(DWORD letters, wchar_t onlyLabelled) {
    std::vector<std::wstring> captions;
    const DWORD present = GetLogicalDrives() & letters;
    for (int i = 0; i < 26; ++i) {
        if ((present & (1u << i)) == 0) continue;
        const wchar_t root[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', 0};
        wchar_t label[MAX_PATH + 1] = {};
        const bool labelled = onlyLabelled == 0 || onlyLabelled == root[0];
        if (labelled && GetDriveTypeW(root) == DRIVE_FIXED) {
            GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0);
        }
        captions.push_back(DriveCaption(root[0], label));
    }
    return captions;
}

TEST_CASE("The drive list shows every logical drive and starts on the current directory's drive") {
    Host host;
    // Opened, as the box tells its owner: every drive with its label.
    SendMessageW(host.Window(), WM_COMMAND, MAKEWPARAM(kDriveId, CBN_DROPDOWN),
                 reinterpret_cast<LPARAM>(host.drive.Handle()));
    const std::vector<std::wstring> texts = BoxTexts(host.drive.Handle());
    CHECK(Listed(texts) == Listed(DriveCaptions(GetLogicalDrives(), 0)));
    CHECK(std::count_if(texts.begin(), texts.end(), [](const std::wstring& t) { return t.rfind(L"c:", 0) == 0; }) == 1);
    CHECK(std::count_if(texts.begin(), texts.end(), [](const std::wstring& t) { return t.rfind(L"z:", 0) == 0; }) == 1);

    // Closed, the box keeps the height it was given.
    RECT closed{};
    GetWindowRect(host.drive.Handle(), &closed);
    CHECK(closed.bottom - closed.top == TwipScale::ForScreen().ToPixels(330));

    const std::wstring startDrive{static_cast<wchar_t>(towupper(CurrentDirectory()[0])), L':'};
    CHECK(host.drive.Drive() == startDrive);
    CHECK(BoxSelection(host.drive.Handle()).rfind(DriveCaption(startDrive[0], L""), 0) == 0);
}

TEST_CASE("Made, the drive list holds its current drive alone; the others come once messages run") {
    Host host;
    const wchar_t current = static_cast<wchar_t>(towupper(CurrentDirectory()[0]));
    const DWORD currentBit = 1u << (current - L'A');
    REQUIRE((GetLogicalDrives() & ~currentBit) != 0);
    DriveList drive;
    drive.Create(host.Window(), kDriveId + 100, TwipScale::ForScreen().Rect(120, 2500, 2415, 330),
                 static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), kText, kBack);
    CHECK(Listed(BoxTexts(drive.Handle())) == Listed(DriveCaptions(currentBit, current)));

    DoEvents();
    CHECK(Listed(BoxTexts(drive.Handle())) == Listed(DriveCaptions(GetLogicalDrives(), current)));
    CHECK(drive.Drive() == std::wstring{current, L':'});
    CHECK(BoxSelection(drive.Handle()).rfind(DriveCaption(current, L""), 0) == 0);
}

TEST_CASE("Setting the drive: only a change is announced; unknown and not-ready drives change nothing") {
    Host host;
    const NotReadyDrive notReady;
    const wchar_t free = FreeDriveLetter(L'X');
    REQUIRE(free != 0);
    int changes = 0;
    std::wstring seenInChange;
    host.drive.onChange = [&] {
        ++changes;
        seenInChange = host.drive.Drive();
    };
    REQUIRE(host.drive.SetDrive(L"Z:"));

    struct Case {
        std::wstring input;
        bool accepted;
        const wchar_t* driveAfter;
        int changes;
    };
    const Case cases[] = {
        {L"C:", true, L"C:", 1},
        {L"c:\\windows", true, L"C:", 0},
        {L"z:\\work", true, L"Z:", 1},
        {L"Z:", true, L"Z:", 0},
        {L"", false, L"Z:", 0},
        {L"1:", false, L"Z:", 0},
        {L"\\\\server\\share", false, L"Z:", 0},
        {std::wstring{free, L':'}, false, L"Z:", 0},
        {notReady.Name(), false, L"Z:", 0},
        {notReady.Name() + L"\\folder", false, L"Z:", 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.input);
        changes = 0;
        CHECK(host.drive.SetDrive(c.input) == c.accepted);
        CHECK(host.drive.Drive() == c.driveAfter);
        CHECK(changes == c.changes);
        if (changes > 0) CHECK(seenInChange == c.driveAfter);
        CHECK(BoxSelection(host.drive.Handle()).rfind(DriveCaption(c.driveAfter[0], L""), 0) == 0);
    }
    // The not-ready drive is listed all the same; it just cannot be chosen.
    const std::vector<std::wstring> texts = BoxTexts(host.drive.Handle());
    CHECK(std::count(texts.begin(), texts.end(), DriveCaption(notReady.Letter(), L"")) == 1);
}

TEST_CASE("A not-ready drive chosen by the user snaps back; a ready one is taken") {
    const NotReadyDrive notReady;
    Host host(Shown::Yes);
    const HWND box = host.drive.Handle();
    int changes = 0;
    host.drive.onChange = [&] { ++changes; };
    const std::vector<std::wstring> texts = BoxTexts(box);
    const auto notReadyRow = std::find(texts.begin(), texts.end(), DriveCaption(notReady.Letter(), L""));
    REQUIRE(notReadyRow != texts.end());
    // Start on the drive listed just below the not-ready one, so the up arrow reaches it.
    REQUIRE(notReadyRow + 1 != texts.end());
    REQUIRE(host.drive.SetDrive(*(notReadyRow + 1)));
    const std::wstring before = host.drive.Drive();
    changes = 0;
    SetFocus(box);
    REQUIRE(GetFocus() == box);

    PressKey(box, VK_UP);
    CHECK(changes == 0);
    CHECK(host.drive.Drive() == before);
    CHECK(BoxSelection(box) == *(notReadyRow + 1));

    // The same choice made in the open list counts when the list closes.
    SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(notReadyRow - texts.begin()), 0);
    host.drive.Command(CBN_SELCHANGE);
    SendMessageW(box, CB_SHOWDROPDOWN, FALSE, 0);
    DoEvents();
    CHECK(changes == 0);
    CHECK(host.drive.Drive() == before);
    CHECK(BoxSelection(box) == *(notReadyRow + 1));

    // A ready drive chosen in the open list is taken when the list closes.
    SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(box, CB_SETCURSEL, 0, 0);
    host.drive.Command(CBN_SELCHANGE);
    CHECK(changes == 0);
    SendMessageW(box, CB_SHOWDROPDOWN, FALSE, 0);
    DoEvents();
    CHECK(changes == 1);
    CHECK(host.drive.Drive() == std::wstring{static_cast<wchar_t>(towupper(texts.front()[0])), L':'});
    CHECK(BoxSelection(box) == texts.front());

    PressKey(box, VK_END);
    CHECK(changes == 2);
    CHECK(host.drive.Drive() == std::wstring{static_cast<wchar_t>(towupper(texts.back()[0])), L':'});
    CHECK(BoxSelection(box) == texts.back());
}

TEST_CASE("The drive list re-reads the drives on Refresh and when it opens") {
    Host host;
    const HWND box = host.drive.Handle();
    const std::wstring before = Listed(BoxTexts(box));
    std::wstring caption;
    {
        const NotReadyDrive added;
        caption = DriveCaption(added.Letter(), L"");
        CHECK(Listed(BoxTexts(box)) == before);
        SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
        DoEvents();
        const std::vector<std::wstring> opened = BoxTexts(box);
        SendMessageW(box, CB_SHOWDROPDOWN, FALSE, 0);
        DoEvents();
        CHECK(std::count(opened.begin(), opened.end(), caption) == 1);
    }
    host.drive.Refresh();
    CHECK(Listed(BoxTexts(box)) == before);
}

TEST_CASE("A folder path is normalised: full, stored names, no trailing backslash but at a root") {
    const FolderTree tree;
    const std::wstring parent = tree.root.substr(0, tree.root.rfind(L'\\'));
    struct Case {
        std::wstring input;
        std::optional<std::wstring> normal;
    };
    const Case cases[] = {
        {tree.root, tree.root},
        {tree.root + L"\\alpha", tree.Below(L"Alpha")},
        {tree.root + L"\\ALPHA\\", tree.Below(L"Alpha")},
        {tree.root + L"/Alpha/deep", tree.Below(L"Alpha\\Deep")},
        {tree.root + L"\\Alpha\\..\\beta\\.", tree.Below(L"beta")},
        {tree.root + L"\\\\Alpha", tree.Below(L"Alpha")},
        {tree.root + L"\\..", parent},
        {L"c:\\", std::wstring(L"C:\\")},
        {L"c:\\WINDOWS\\", std::wstring(L"C:\\windows")},
        {tree.root + L"\\missing", std::nullopt},
        {tree.root + L"\\file.txt", std::nullopt},
        {tree.root + L"\\Alph?", std::nullopt},
        {tree.root + L"\\*", std::nullopt},
        {L"\\\\server\\share\\folder", std::nullopt},
        {L"", std::nullopt},
    };
    for (const Case& c : cases) {
        CAPTURE(c.input);
        CHECK(NormalFolderPath(c.input).value_or(L"(none)") == c.normal.value_or(L"(none)"));
    }
    // A bare drive is that drive's current directory.
    CHECK(NormalFolderPath(CurrentDirectory().substr(0, 2)) == NormalFolderPath(CurrentDirectory()));
}

TEST_CASE("The parent of a folder; none at a drive root") {
    struct Case {
        const wchar_t* path;
        const wchar_t* parent;
    };
    const Case cases[] = {
        {L"C:\\", L""},
        {L"C:\\Alpha", L"C:\\"},
        {L"C:\\Alpha\\Deep", L"C:\\Alpha"},
        {L"Z:\\work\\main\\build", L"Z:\\work\\main"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.path);
        CHECK(ParentFolderPath(c.path) == c.parent);
    }
}

TEST_CASE("The folder list shows the chain down to the current folder, then its subdirectories") {
    const FolderTree tree;
    Host host;
    const HWND list = host.directory.Handle();

    SUBCASE("deep in a tree: hidden, system and Unicode folders too, files never") {
        REQUIRE(host.directory.SetPath(tree.root));
        CHECK(host.directory.Path() == tree.root);
        CHECK(host.directory.ParentPath() == tree.root.substr(0, tree.root.rfind(L'\\')));
        std::vector<std::wstring> rows = ChainOf(tree.root);
        const int chain = static_cast<int>(rows.size());
        rows.insert(rows.end(), kTreeSubdirectories.begin(), kTreeSubdirectories.end());
        CHECK(Listed(ListTexts(list)) == Listed(rows));
        CHECK(SendMessageW(list, LB_GETCURSEL, 0, 0) == chain - 1);

        REQUIRE(host.directory.SubdirectoryCount() == static_cast<int>(kTreeSubdirectories.size()));
        for (int i = 0; i < host.directory.SubdirectoryCount(); ++i) {
            CHECK(host.directory.SubdirectoryPath(i) == tree.Below(kTreeSubdirectories[static_cast<size_t>(i)]));
        }
        CHECK(host.directory.SubdirectoryPath(-1).empty());
        CHECK(host.directory.SubdirectoryPath(host.directory.SubdirectoryCount()).empty());

        REQUIRE(host.directory.SetPath(tree.Below(L"Alpha")));
        rows = ChainOf(tree.Below(L"Alpha"));
        rows.push_back(L"Deep");
        CHECK(Listed(ListTexts(list)) == Listed(rows));
        CHECK(host.directory.SubdirectoryCount() == 1);
        CHECK(host.directory.SubdirectoryPath(0) == tree.Below(L"Alpha\\Deep"));
        CHECK(host.directory.ParentPath() == tree.root);
    }

    SUBCASE("at a drive root: one backslash after the colon, no parent") {
        REQUIRE(host.directory.SetPath(L"c:"));
        REQUIRE(host.directory.SetPath(L"C:\\"));
        CHECK(host.directory.Path() == L"C:\\");
        CHECK(host.directory.ParentPath().empty());
        const std::vector<std::wstring> texts = ListTexts(list);
        REQUIRE(!texts.empty());
        CHECK(texts.front() == L"c:\\");
        CHECK(SendMessageW(list, LB_GETCURSEL, 0, 0) == 0);
        const auto names = ListSubdirectoryNames(L"C:\\");
        REQUIRE(names.has_value());
        REQUIRE(host.directory.SubdirectoryCount() == static_cast<int>(names->size()));
        CHECK(static_cast<int>(texts.size()) == 1 + host.directory.SubdirectoryCount());
        CHECK(std::count(names->begin(), names->end(), L"windows") == 1);
        for (int i = 0; i < host.directory.SubdirectoryCount(); ++i) {
            CHECK(host.directory.SubdirectoryPath(i) == L"C:\\" + (*names)[static_cast<size_t>(i)]);
        }
    }
}

TEST_CASE("Setting the folder: only a change is announced; a folder that cannot be read changes nothing") {
    const FolderTree tree;
    const NotReadyDrive notReady;
    Host host;
    REQUIRE(host.directory.SetPath(tree.root));
    int changes = 0;
    std::wstring seenInChange;
    int subdirectoriesInChange = -1;
    host.directory.onChange = [&] {
        ++changes;
        seenInChange = host.directory.Path();
        subdirectoriesInChange = host.directory.SubdirectoryCount();
    };
    struct Case {
        std::wstring input;
        bool accepted;
        std::wstring pathAfter;
        int changes;
    };
    const Case cases[] = {
        {tree.root, true, tree.root, 0},
        {tree.root + L"\\.", true, tree.root, 0},
        {tree.root + L"\\alpha", true, tree.Below(L"Alpha"), 1},
        {tree.root + L"\\Alpha\\", true, tree.Below(L"Alpha"), 0},
        {tree.root + L"\\missing", false, tree.Below(L"Alpha"), 0},
        {tree.root + L"\\file.txt", false, tree.Below(L"Alpha"), 0},
        {notReady.Name() + L"\\", false, tree.Below(L"Alpha"), 0},
        {notReady.Name(), false, tree.Below(L"Alpha"), 0},
        {L"", false, tree.Below(L"Alpha"), 0},
        {tree.Below(FolderTree::kUnicode), true, tree.Below(FolderTree::kUnicode), 1},
    };
    for (const Case& c : cases) {
        CAPTURE(c.input);
        changes = 0;
        CHECK(host.directory.SetPath(c.input) == c.accepted);
        CHECK(host.directory.Path() == c.pathAfter);
        CHECK(changes == c.changes);
        if (changes > 0) {
            CHECK(seenInChange == c.pathAfter);
            CHECK(subdirectoriesInChange == host.directory.SubdirectoryCount());
        }
        CHECK(ListTexts(host.directory.Handle()).at(ChainOf(c.pathAfter).size() - 1) == ChainOf(c.pathAfter).back());
    }
}

TEST_CASE_FIXTURE(OpenFolderList, "A double click opens a subdirectory or an ancestor") {
    const HWND list = host.directory.Handle();

    DoubleClickRow(list, RowOf(list, L"Alpha"));
    CHECK(host.directory.Path() == tree.Below(L"Alpha"));
    CHECK(changes == 1);

    DoubleClickRow(list, RowOf(list, L"Deep"));
    CHECK(host.directory.Path() == tree.Below(L"Alpha\\Deep"));
    CHECK(host.directory.SubdirectoryCount() == 0);

    // The folder shown as current: nothing to open.
    changes = 0;
    DoubleClickRow(list, RowOf(list, L"Deep"));
    CHECK(host.directory.Path() == tree.Below(L"Alpha\\Deep"));
    CHECK(changes == 0);

    const std::wstring treeName = tree.root.substr(tree.root.rfind(L'\\') + 1);
    DoubleClickRow(list, RowOf(list, treeName));
    CHECK(host.directory.Path() == tree.root);
    CHECK(changes == 1);

    DoubleClickRow(list, 0);
    CHECK(host.directory.Path() == L"C:\\");
    CHECK(changes == 2);
}

TEST_CASE_FIXTURE(OpenFolderList, "A double click on a folder that went away keeps the path and drops the folder") {
    const HWND list = host.directory.Handle();
    REQUIRE(RemoveDirectoryW(tree.Below(L"beta").c_str()));

    DoubleClickRow(list, RowOf(list, L"beta"));
    CHECK(host.directory.Path() == tree.root);
    CHECK(changes == 0);
    CHECK(RowOf(list, L"beta") == -1);
    CHECK(host.directory.SubdirectoryCount() == static_cast<int>(kTreeSubdirectories.size()) - 1);
}

TEST_CASE_FIXTURE(ShownFolderList, "Enter opens the selected folder; moving the selection alone does not") {
    const HWND list = host.directory.Handle();
    SetFocus(list);
    REQUIRE(GetFocus() == list);

    // From the current folder, down to its first subdirectory.
    PressKey(list, VK_DOWN);
    CHECK(changes == 0);
    CHECK(SendMessageW(list, LB_GETCURSEL, 0, 0) == RowOf(list, L"Alpha"));
    PressKey(list, VK_RETURN);
    CHECK(changes == 1);
    CHECK(host.directory.Path() == tree.Below(L"Alpha"));

    // Up to the tree's own folder in the chain.
    PressKey(list, VK_UP);
    PressKey(list, VK_RETURN);
    CHECK(changes == 2);
    CHECK(host.directory.Path() == tree.root);
}

TEST_CASE_FIXTURE(OpenFolderList, "Refresh shows the folders as they are now") {
    tree.scratch.AddFolder(L"Delta");
    CHECK(host.directory.SubdirectoryCount() == static_cast<int>(kTreeSubdirectories.size()));
    host.directory.Refresh();
    CHECK(host.directory.SubdirectoryCount() == static_cast<int>(kTreeSubdirectories.size()) + 1);
    CHECK(host.directory.SubdirectoryPath(2) == tree.Below(L"Delta"));

    // The current folder itself goes away: its path stays, with nothing below it.
    REQUIRE(host.directory.SetPath(tree.Below(L"Alpha\\Deep")));
    REQUIRE(RemoveDirectoryW(tree.Below(L"Alpha\\Deep").c_str()));
    changes = 0;
    host.directory.Refresh();
    CHECK(host.directory.Path() == tree.Below(L"Alpha\\Deep"));
    CHECK(host.directory.SubdirectoryCount() == 0);
    CHECK(Listed(ListTexts(host.directory.Handle())) == Listed(ChainOf(tree.Below(L"Alpha\\Deep"))));
    CHECK(changes == 0);
}

TEST_CASE("The lists paint in their own colours") {
    const FolderTree tree;
    Host host(Shown::Yes);
    REQUIRE(host.directory.SetPath(tree.Below(L"Alpha\\Deep")));
    RedrawWindow(host.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DoEvents();

    const HWND list = host.directory.Handle();
    RECT client{};
    GetClientRect(list, &client);
    const WindowDc listDc(list);
    // Below the last row, and at the right end of a row.
    CHECK(GetPixel(listDc.get(), client.right / 2, client.bottom - 4) == kBack);
    RECT row{};
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    CHECK(GetPixel(listDc.get(), row.right - 4, (row.top + row.bottom) / 2) == kBack);

    // The closed drive box, between its text and its button.
    const HWND box = host.drive.Handle();
    RECT field{};
    GetClientRect(box, &field);
    const WindowDc boxDc(box);
    CHECK(GetPixel(boxDc.get(), field.right / 2, field.bottom / 2) == kBack);
}

TEST_CASE("The lists open on the folder they are given; one they cannot show leaves them on the current directory") {
    const Host host;
    const TempFolder folder;
    const std::wstring given = folder.AddFolder(L"Given");
    const std::wstring current = NormalFolderPath(CurrentDirectory()).value_or(L"");
    REQUIRE(NormalFolderPath(given));
    REQUIRE_FALSE(current.empty());
    // The temporary folder and the build folder lie on different drives.
    REQUIRE(towupper(given[0]) != towupper(current[0]));
    const TwipScale scale = TwipScale::ForScreen();
    const FontHandle font = CreateFontFor(FontDescription{L"Arial", 8.25, true, false}, scale);
    struct Case {
        const char* what;
        std::wstring start;
        std::wstring folder;
    };
    const Case cases[] = {
        {"a folder", given, *NormalFolderPath(given)},
        {"none", L"", current},
        {"a share", L"\\\\nohost\\share\\tools", current},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        DriveList drive;
        DirectoryList directory;
        bool announced = false;
        drive.onChange = directory.onChange = [&] { announced = true; };
        drive.Create(host.Window(), 300, scale.Rect(120, 120, 2415, 330), font.get(), kText, kBack, c.start);
        directory.Create(host.Window(), 301, scale.Rect(120, 450, 2415, 2250), font.get(), kText, kBack, c.start);
        CHECK(directory.Path() == c.folder);
        CHECK(drive.Drive() == c.folder.substr(0, 2));
        CHECK(BoxSelection(drive.Handle()).rfind(DriveCaption(c.folder[0], L""), 0) == 0);
        CHECK_FALSE(announced);
    }
}
