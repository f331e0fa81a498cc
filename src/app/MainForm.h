#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/BoundWindow.h"
#include "app/ControlFactory.h"
#include "app/GdiHandles.h"
#include "app/Panel.h"
#include "app/PanelHost.h"
#include "app/PanelTable.h"
#include "app/QuickMenu.h"
#include "history/HistoryStore.h"
#include "theming/ThemingService.h"

// The one window of the program: start-up, closing, and the Quick Menu strip with the panels of
// the panel table, each made when it is first shown.
class MainForm : public BoundWindow, public PanelHost {
public:
    struct Options {
        // The program's directory: the catalogue lies there, the history there or where
        // ChooseHistoryFile puts it for that directory, and the Vestrim panel opens on it;
        // empty: the directory of the running executable.
        std::wstring applicationDirectory;
        bool show = true;
        // Closing the window ends the message loop (tests make several windows in one process).
        bool endsProgram = true;
        // How a message reaches the user: a message box when empty. Tests record the messages
        // instead, as they must never wait on a box.
        std::function<void(const std::wstring&)> messageShown;
        // How a question reaches the user: a message box with Yes, No and Cancel when empty.
        std::function<ExternalManifestDecision::Answer(const std::wstring&)> questionAsked;
    };

    MainForm();
    explicit MainForm(const Options& options);
    ~MainForm() override;

    // Builds the window and opens the first panel; false if the window could not be made.
    bool Create();
    // The message loop; returns the exit code once the window is gone.
    static int Run();

    HWND Window() const { return Handle(); }

    // PanelHost
    HWND QuickMenuStrip() const override { return quickMenu_.OutlookBar(); }
    bool CloseRequested() const override { return closeRequested_; }
    void ShowMessage(const std::wstring& text) override;
    ExternalManifestDecision::Answer Ask(const std::wstring& question) override;

    // What the tests read and drive beyond the window's messages.
    struct TestView;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void LongActionStarted() override { ++longActionDepth_; }
    void LongActionEnded() override;

private:
    template <class P>
    P& PanelOf() {
        return static_cast<P&>(*panels_[PanelIndex<P>()]);
    }
    void Form_Initialize();
    void Form_Load();
    void LoadPictures();
    void CreateShortcutKeys();

    // Declared before the parts, which are built from them.
    std::wstring applicationDirectory_;
    ControlFactory controls_;
    HistoryStore historyStore_;
    ThemingService theming_;
    QuickMenu quickMenu_;
    // By the rows of the panel table.
    std::array<std::unique_ptr<Panel>, kPanelCount> panels_;

    bool show_;
    bool endsProgram_;
    std::function<void(const std::wstring&)> messageShown_;
    std::function<ExternalManifestDecision::Answer(const std::wstring&)> questionAsked_;
    int longActionDepth_ = 0;
    bool closeRequested_ = false;
    BitmapHandle background_;
    IconHandle appIcon_;
    IconHandle appIconSmall_;
    ShortcutTableHandle shortcutKeys_;
};
