#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "app/AboutPanel.h"
#include "app/Fonts.h"
#include "app/HelpPanel.h"
#include "app/HistoryPanel.h"
#include "app/PanelHost.h"
#include "app/QuickMenu.h"
#include "app/SettingsPanel.h"
#include "app/Tooltips.h"
#include "app/TurboPanel.h"
#include "app/TwipScale.h"
#include "app/VestrimPanel.h"
#include "history/HistoryStore.h"
#include "app/GdiHandles.h"
#include "theming/ThemingService.h"

// The one window of the program: start-up, closing, and the Quick Menu strip with the six
// panels it shows. The parts are public so that tests can drive them through their handlers and
// their messages as a user would.
class MainForm : public PanelHost {
public:
    struct Options {
        // The directory that holds the profile files and where the Vestrim panel opens;
        // empty: the directory of the running executable.
        std::wstring applicationDirectory;
        bool show = true;
        // Closing the window ends the message loop (tests make several windows in one process).
        bool endsProgram = true;
        // How a message reaches the user: a message box when empty. Tests record the messages
        // instead, as they must never wait on a box.
        std::function<void(const std::wstring&)> messageShown;
    };

    MainForm();
    explicit MainForm(const Options& options);
    ~MainForm() override;
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Builds the window, runs Form_Initialize and Form_Load; false if the window could not be made.
    bool Create();
    // The message loop; returns the exit code once the window is gone.
    static int Run();

    HWND Window() const { return window_; }

    void Form_Initialize();
    void Form_Load();
    void SetListScrollWidths();

    // PanelHost
    const TwipScale& Scale() const override { return scale_; }
    HFONT Font(const FontDescription& font) override { return fonts_.Get(font); }
    void SetTooltip(HWND control, const std::wstring& text) override { tooltips_.Set(control, text); }
    std::wstring TooltipOf(HWND control) const override { return tooltips_.Of(control); }
    HWND QuickMenuStrip() const override { return quickMenu.OutlookBar(); }
    bool CreatePanelWindow(PanelWindow& window) override;
    const std::wstring& ApplicationDirectory() const override { return applicationDirectory_; }
    bool CloseRequested() const override { return closeRequested_; }
    void ShowMessage(const std::wstring& text) override;

private:
    // Declared before the parts, which are built from them.
    TwipScale scale_;
    std::wstring applicationDirectory_;

public:
    HistoryStore historyStore;
    ThemingService theming;
    QuickMenu quickMenu;
    HelpPanel help;
    VestrimPanel vestrim;
    TurboPanel turbo;
    SettingsPanel settings;
    AboutPanel about;
    HistoryPanel history;

protected:
    void LongActionStarted() override { ++longActionDepth_; }
    void LongActionEnded() override;

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void LoadPictures();
    void CreateShortcutKeys();

    bool show_;
    bool endsProgram_;
    std::function<void(const std::wstring&)> messageShown_;
    HWND window_ = nullptr;
    FontCache fonts_;
    Tooltips tooltips_;
    int longActionDepth_ = 0;
    bool closeRequested_ = false;
    BitmapHandle background_;
    IconHandle appIcon_;
    IconHandle appIconSmall_;
    ShortcutTableHandle shortcutKeys_;
};
