#pragma once
#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/CheckList.h"
#include "app/DirectoryList.h"
#include "app/DriveList.h"
#include "app/Fonts.h"
#include "app/TwipScale.h"
#include "platform/GdiHandles.h"

// The one window of the program: the Quick Menu strip and the six panels, every control and
// every event handler. Controls are public, named as the layout names them, so that tests can
// drive the window through its handlers and its messages as a user would.
class MainForm {
public:
    struct Options {
        // The directory that holds the profile files and where the Vestrim panel opens;
        // empty: the directory of the running executable.
        std::wstring applicationDirectory;
        bool show = true;
        // Closing the window ends the message loop (tests make several windows in one process).
        bool endsProgram = true;
    };

    MainForm();
    ~MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Builds the window, runs Form_Initialize and Form_Load; false if the window could not be made.
    bool Create(const Options& options);
    // The message loop; returns the exit code once the window is gone.
    static int Run();

    HWND Window() const { return window_; }
    const TwipScale& Scale() const { return scale_; }
    // Without a trailing backslash, except at a drive root.
    const std::wstring& ApplicationDirectory() const { return applicationDirectory_; }
    std::wstring HistoryFilePath() const { return applicationDirectory_ + L"\\history.db"; }
    std::wstring SettingsFilePath() const { return applicationDirectory_ + L"\\settings.db"; }

    // ---- Start-up
    void Form_Initialize();
    void Form_Load();
    void SetListScrollWidths();

    // ---- Long actions: the handler of a button that runs over many items holds this guard.
    // Closing the window meanwhile lets the action finish its current item and stop; the window
    // closes when the guard ends.
    class LongAction {
    public:
        explicit LongAction(MainForm& form);
        ~LongAction();
        LongAction(const LongAction&) = delete;
        LongAction& operator=(const LongAction&) = delete;

    private:
        MainForm& form_;
    };
    // True once the user asked the running action to stop or the window to close.
    bool ShouldStop() const { return StopRequested || closeRequested_; }
    bool StopRequested = false;

    // ---- Quick Menu
    void Qmenu_Click(int index);
    void Qmenu_MouseMove(int index);
    void QmenuSelector_Click();
    void tmrQuickMenu_Timer();
    int HoveredIndex = 0;
    POINT CursorPoint{};
    static constexpr int kQuickMenuItems = 6;
    // Twips from the strip's top of each item, by index.
    static int QmenuTop(int index);
    int QmenuSelectedTop() const;  // twips
    int QmenuSelectorTop() const;  // twips
    std::wstring TooltipOf(HWND control) const;
    HICON SelectorIcon() const { return selectorIcon_; }
    HICON QmenuIcon(int index) const;

    // ---- Vestrim panel
    void Drive1_Change();
    void Dir1_Change();
    void RefreshAppLists();
    void ShowFileDetails(const std::wstring& applicationName, const std::wstring& fullPath);
    void lstUnthemed_Click();
    void lstUnthemed_GotFocus();
    void lstUnthemed_KeyPress(wchar_t key);
    void lstThemed_Click();
    void lstThemed_GotFocus();
    void lstThemed_KeyPress(wchar_t key);
    void cmdVestrim_Click();
    void cmdUnThemedSelAll_Click();
    void cmdUnThemedUnSelAll_Click();
    void cmdThemedSelAll_Click();
    void cmdThemedUnSelAll_Click();
    // Writes the manifest of lstUnthemed's current item from the four detail boxes; true when
    // the file was written (and only then recorded in the history).
    bool WriteManifest();
    // Fills the four detail boxes from the manifest of lstThemed's current item; empty boxes
    // when there is none or it cannot be read.
    void ReadManifestDetails();
    static const wchar_t kApplyCaption[];
    static const wchar_t kRemoveCaption[];
    std::wstring TextOf(HWND control) const;
    void SetText(HWND control, const std::wstring& text);

    // The hidden file list of the Vestrim panel: the current folder's executables.
    struct FileList {
        std::wstring Path;
        std::vector<std::wstring> Names;
    };

    // ---- History
    // Records a written manifest in history.db with the product name and description.
    void AddToHistory(const std::wstring& manifestPath, const std::wstring& value);
    // Fills the History panel from history.db, dropping entries whose manifest is gone.
    void LoadHistory();
    void lstHistory_Click();
    void cmdHistorySelAll_Click();
    void cmdHistoryUnselAll_Click();
    void cmdHistoryRemoveTheme_Click();
    // The manifest path behind a line of lstHistory, through the position at its end.
    std::optional<std::wstring> HistoryManifestPathOf(int index) const;

    // ---- Controls of the window
    HWND OutlookBar = nullptr;
    HWND picHelp = nullptr;
    HWND picVestrim = nullptr;
    HWND picTurbo = nullptr;
    HWND picSettings = nullptr;
    HWND picAbout = nullptr;
    HWND picHistory = nullptr;

    // Quick Menu strip
    HWND lblQMenuTop = nullptr;
    std::array<HWND, kQuickMenuItems> Qmenu{};
    HWND QmenuSelected = nullptr;
    HWND QmenuSelector = nullptr;
    HWND imgQMenuBottom = nullptr;
    HWND lblQMenuBottom = nullptr;

    // Vestrim panel
    DriveList Drive1;
    DirectoryList Dir1;
    FileList File1;
    HWND lblUnthemed = nullptr;
    CheckList lstUnthemed;
    HWND cmdUnThemedSelAll = nullptr;
    HWND cmdUnThemedUnSelAll = nullptr;
    HWND lblThemed = nullptr;
    CheckList lstThemed;
    HWND cmdThemedSelAll = nullptr;
    HWND cmdThemedUnSelAll = nullptr;
    HWND lblCompanyName = nullptr;
    HWND txtCompanyName = nullptr;
    HWND lblProductName = nullptr;
    HWND txtProductName = nullptr;
    HWND Label2 = nullptr;
    HWND txtApplicationName = nullptr;
    HWND Label3 = nullptr;
    HWND txtDescription = nullptr;
    HWND cmdVestrim = nullptr;

    // History panel (lstHistory below); the hidden list holds the manifest path of each line.
    std::vector<std::wstring> lstTempHistory;
    HWND cmdHistorySelAll = nullptr;
    HWND cmdHistoryUnselAll = nullptr;
    HWND cmdHistoryRemoveTheme = nullptr;

    // The wide lists, whose horizontal scroll range start-up sets.
    CheckList lstTurbo;
    CheckList lstHistory;
    CheckList lstSettings;
    static const FontSpec kTurboListFont;
    static const FontSpec kHistoryListFont;
    static const FontSpec kSettingsListFont;

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleCommand(int id, WORD notification, HWND control);
    void CreateControls();
    void CreatePanels();
    void CreateQuickMenu();
    void CreateWideLists();
    void CreateVestrimPanel();
    void CreateHistoryPanel();
    bool HandleHistoryCommand(int id, WORD notification);
    bool HandleVestrimCommand(int id, WORD notification, HWND control);
    HWND AddLabel(HWND parent, const wchar_t* text, COLORREF colour, const FontSpec& font, int left,
                  int top, int width, int height, DWORD align = SS_LEFT);
    HWND AddButton(HWND parent, const wchar_t* text, int id, const FontSpec& font, int left, int top,
                   int width, int height, const wchar_t* tooltip = nullptr);
    HWND AddTextBox(HWND parent, int id, const FontSpec& font, COLORREF text, COLORREF back, int left,
                    int top, int width, int height);
    std::wstring FullPathOf(const std::wstring& fileName) const;
    void TickAllAndEnter(CheckList& list, bool ticked);
    void LoadPictures();

    // Child creation helpers; rectangles in twips relative to the parent.
    HWND AddChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id,
                  int left, int top, int width, int height, DWORD exStyle = 0);
    HFONT Font(const FontSpec& wanted);
    void SetColours(HWND control, COLORREF text, COLORREF back, bool transparent);
    void AddTooltip(HWND control, const std::wstring& text);
    void SetTooltip(HWND control, const std::wstring& text);
    LRESULT ControlColour(HDC dc, HWND control, UINT message);
    CheckList* CheckListFor(HWND control);
    void DrawSelector(const DRAWITEMSTRUCT& item);
    static LRESULT CALLBACK QuickMenuItemProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK SelectorProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    struct Colours {
        COLORREF text;
        BrushHandle back;  // null when the control is transparent
    };

    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    TwipScale scale_;
    std::wstring applicationDirectory_;
    bool endsProgram_ = true;
    int longActionDepth_ = 0;
    bool vestrimRunning_ = false;
    std::vector<CheckList*> checkLists_;
    int qmenuSelectedTop_ = 3360;  // twips, as laid out
    int qmenuSelectorTop_ = 2400;
    bool closeRequested_ = false;
    std::vector<std::pair<FontSpec, FontHandle>> fonts_;
    std::unordered_map<HWND, Colours> colours_;
    std::unordered_map<HWND, std::wstring> tooltips_;
    BitmapHandle background_;
    std::array<IconHandle, kQuickMenuItems> qmenuIcons_;
    IconHandle appIcon_;
    IconHandle appIconSmall_;
    IconHandle bottomIcon_;
    HCURSOR selectorCursor_ = nullptr;
    HICON selectorIcon_ = nullptr;  // one of qmenuIcons_, not owned
};
