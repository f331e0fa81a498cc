// Programs that carry a manifest of their own, in the window: the question before theming and the
// list tips, under the Windows version the test makes the program believe it runs on. The
// machine's PreferExternalManifest is the test prefix's own, read in the 64-bit view and put back
// after each case.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/WindowText.h"
#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFile.h"
#include "app/MessagePump.h"
#include "platform/WindowsVersion.h"
#include "support/FixturePath.h"
#include "support/MachineSideBySide.h"
#include "support/OwnManifestFixtures.h"
#include "support/PanelViews.h"
#include "support/TempFolder.h"
#include "support/TooltipText.h"
#include "support/WindowInput.h"
#include "support/WindowTestOptions.h"
#include "support/WindowsVersions.h"
#include "support/doctest_wide.h"

using namespace registry_test;
using xpv_test::MachineSideBySide;
using xpv_test::TempFolder;
using Answer = ExternalManifestDecision::Answer;

namespace {

const std::wstring kPlainFixture = xpv_test::FixturePath(XPV_VESTRIM_FIXTURES) + L"\\plain.exe";
const std::wstring kHiddenTip =
    L"Carries its own manifest; Windows Vista and later ignore the file beside it unless external manifests are "
    L"preferred";
const std::wstring kMakerTip = L"Its own manifest already gives it the Windows XP look";

// What a program carries in its own image.
enum class Own {
    None,           // nothing: the file beside it decides
    Trust,          // a manifest without Common Controls 6, as current build tools embed
    CommonControls  // a manifest that asks for Common Controls 6: its maker themed it
};

struct Program {
    Own own;
    std::wstring name;
};

std::wstring FixtureOf(Own own) {
    switch (own) {
        case Own::Trust:
            return xpv_test::OwnManifestFixture(L"own_trust");
        case Own::CommonControls:
            return xpv_test::OwnManifestFixture(L"own_cc6");
        case Own::None:
            break;
    }
    return kPlainFixture;
}

// The window on a folder of programs, its questions recorded and answered as the test says.
struct OwnManifestWindow {
    TempFolder appFolder{L"xpv-app"};
    TempFolder programs{L"xpv-own"};
    std::vector<std::wstring> messages;
    std::vector<std::wstring> questions;
    Answer answer = Answer::Cancel;
    MainForm form{Options()};

    explicit OwnManifestWindow(const std::vector<Program>& contents) {
        for (const Program& program : contents) REQUIRE(xpv_test::CopyInto(FixtureOf(program.own), Path(program.name)));
        REQUIRE(form.Create());
        SetForegroundWindow(form.Window());
        DoEvents();
    }
    MainForm::Options Options() {
        MainForm::Options options = xpv_test::WindowTestOptions(appFolder.Path(), &messages);
        options.questionAsked = [this](const std::wstring& question) {
            questions.push_back(question);
            return answer;
        };
        return options;
    }
    std::wstring Path(const std::wstring& name) const { return programs / name; }
    HWND Tooltips() const { return xpv_test::TooltipWindowOf(form.Window()); }
};

struct VestrimView {
    OwnManifestWindow& window;
    VestrimPanel& panel = xpv_test::OpenPanel<VestrimPanel>(window.form);

    CheckList& Unthemed() const { return VestrimPanel::TestView{panel}.lstUnthemed(); }
    CheckList& Themed() const { return VestrimPanel::TestView{panel}.lstThemed(); }
    HWND Control(int id) const { return GetDlgItem(panel.Window(), id); }
    void Open() { panel.OpenFolder(window.programs.Path()); }
};

struct TurboView {
    OwnManifestWindow& window;
    TurboPanel& panel = xpv_test::OpenPanel<TurboPanel>(window.form);

    CheckList& Results() const { return TurboPanel::TestView{panel}.lstTurbo(); }
    HWND Control(int id) const { return GetDlgItem(panel.Window(), id); }
    // An unthemed search of the program folder, its results shown.
    void Search() {
        xpv_test::ClickButton(Control(TurboPanel::kCmdNewSearch));
        REQUIRE(TurboPanel::TestView{panel}.dirTurbo().SetPath(window.programs.Path()));
        xpv_test::ClickButton(Control(TurboPanel::kLblTurboSearchForFirst + 2));
        xpv_test::ClickButton(Control(TurboPanel::kCmdTurboSearch));
        xpv_test::ClickButton(Control(TurboPanel::kCmdScannedResults));
    }
    std::wstring PathOfLine(int line) const { return Results().Value(line); }
};

bool Live(HWND control) { return IsWindowVisible(control) && IsWindowEnabled(control); }

int TickedLines(const CheckList& list) { return static_cast<int>(list.TickedItems().size()); }

// Every program of the folder ticked and themed through one of the two panels; what the user can
// press afterwards.
struct PanelRun {
    const char* name;
    // Ticks every program and presses the panel's button; true when the panel's buttons are
    // live afterwards and it still shows `remaining` programs ticked.
    bool (*run)(OwnManifestWindow& window, int remaining);
};

const PanelRun kPanelRuns[] = {
    {"Vestrim",
     [](OwnManifestWindow& window, int remaining) {
         VestrimView vestrim{window};
         vestrim.Open();
         xpv_test::ClickButton(vestrim.Control(VestrimPanel::kCmdUnThemedSelAll));
         xpv_test::ClickButton(vestrim.Control(VestrimPanel::kCmdVestrim));
         return TickedLines(vestrim.Unthemed()) == remaining && Live(vestrim.Control(VestrimPanel::kCmdVestrim)) &&
                TextOf(vestrim.Control(VestrimPanel::kCmdVestrim)) == L"Apply XP Theme NOW!!! " &&
                IsWindowEnabled(vestrim.Control(VestrimPanel::kDir1));
     }},
    {"Turbo Vestrim",
     [](OwnManifestWindow& window, int remaining) {
         TurboView turbo{window};
         turbo.Search();
         xpv_test::ClickButton(turbo.Control(TurboPanel::kCmdTurboSelAll));
         xpv_test::ClickButton(turbo.Control(TurboPanel::kCmdTurboApply));
         return TickedLines(turbo.Results()) == remaining && Live(turbo.Control(TurboPanel::kCmdNewSearch)) &&
                (remaining == 0 || Live(turbo.Control(TurboPanel::kCmdTurboApply)));
     }},
};

}  // namespace

TEST_CASE("Before an apply the window asks about external manifests only when a hidden file would be written") {
    const MachineSideBySide machine;
    const struct {
        const char* what;
        WindowsVersion windows;
        std::optional<StoredValue> before;
        std::vector<Program> programs;
        Answer answer;
        bool asked;
        std::optional<StoredValue> after;
        bool themed;
        bool readOnlyKey = false;
        // The start of the one message at the end; none when empty.
        std::wstring message = {};
    } cases[] = {
        {"Windows XP takes the file beside a program that carries a manifest", xpv_test::kWindowsXp, std::nullopt,
         {{Own::Trust, L"hidden.exe"}}, Answer::Cancel, false, std::nullopt, true},
        {"external manifests preferred already", xpv_test::kWindows10, NumberValue(1), {{Own::Trust, L"hidden.exe"}},
         Answer::Cancel, false, NumberValue(1), true},
        {"no file would be hidden; the program themed by its maker is named at the end", xpv_test::kWindows10,
         std::nullopt, {{Own::None, L"plain.exe"}, {Own::CommonControls, L"maker.exe"}}, Answer::Cancel, false,
         std::nullopt, true, false, L"This program was themed as asked, but its own manifest already gives"},
        {"Yes prefers external manifests, themes, and says the value is set", xpv_test::kWindows10, std::nullopt,
         {{Own::None, L"plain.exe"}, {Own::Trust, L"hidden.exe"}}, Answer::Yes, true, NumberValue(1), true, false,
         L"Windows now prefers external manifests (HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\"
         L"CurrentVersion\\SideBySide\\PreferExternalManifest = 1)"},
        {"Yes over the number 0", xpv_test::kWindowsVista, NumberValue(0), {{Own::Trust, L"hidden.exe"}}, Answer::Yes,
         true, NumberValue(1), true, false, L"Windows now prefers external manifests"},
        {"No themes without them, and names the program that keeps its old look", xpv_test::kWindowsVista,
         NumberValue(0), {{Own::Trust, L"hidden.exe"}}, Answer::No, true, NumberValue(0), true, false,
         L"This program was themed, but it keeps its old look on Windows Vista and later"},
        {"Cancel themes nothing", xpv_test::kWindows10, std::nullopt,
         {{Own::Trust, L"hidden.exe"}, {Own::None, L"plain.exe"}}, Answer::Cancel, true, std::nullopt, false},
        {"Yes where the value cannot be set says so and themes", xpv_test::kWindows10, std::nullopt,
         {{Own::Trust, L"hidden.exe"}}, Answer::Yes, true, std::nullopt, true, true,
         L"Windows could not be set to prefer external manifests (error 5: "},
    };
    for (const PanelRun& panel : kPanelRuns) {
        CAPTURE(panel.name);
        for (const auto& c : cases) {
            INFO(c.what);
            MachineSideBySide::Set(c.before);
            const WindowsVersionOverride windows(c.windows);
            std::optional<xpv_test::ReadOnlySideBySideKey> readOnly;
            if (c.readOnlyKey) readOnly.emplace();
            OwnManifestWindow window(c.programs);
            window.answer = c.answer;

            CHECK(panel.run(window, c.themed ? 0 : static_cast<int>(c.programs.size())));
            REQUIRE(window.questions.size() == (c.asked ? 1u : 0u));
            if (c.asked) {
                // Only the program whose own manifest would hide the file is named.
                for (const Program& program : c.programs) {
                    CHECK((window.questions[0].find(window.Path(program.name)) != std::wstring::npos) ==
                          (program.own == Own::Trust));
                }
            }
            for (const Program& program : c.programs) {
                CAPTURE(program.name);
                CHECK(IsManifestPresent(ManifestPathFor(window.Path(program.name))) == c.themed);
            }
            readOnly.reset();
            CHECK(MachineSideBySide::Read() == c.after);
            if (c.message.empty()) {
                CHECK(window.messages.empty());
            } else {
                REQUIRE(window.messages.size() == 1);
                CHECK(window.messages[0].starts_with(c.message));
            }
            CHECK(IsWindowEnabled(window.form.QuickMenuStrip()));
        }
    }
}

TEST_CASE("The list tips tell what a program's own manifest means, read for the current line") {
    OwnManifestWindow window({{Own::None, L"a-plain.exe"},
                              {Own::Trust, L"b-hidden.exe"},
                              {Own::CommonControls, L"c-maker.exe"},
                              {Own::Trust, L"d-themed-hidden.exe"}});
    REQUIRE(xpv_test::WriteBytes(window.Path(L"d-themed-hidden.exe.manifest"),
                                 ComposeManifestDocument({}, ProcessorArchitecture::Amd64)));
    const HWND tooltips = window.Tooltips();
    REQUIRE(tooltips != nullptr);
    const struct {
        std::wstring name;
        std::wstring tip;  // of the Vestrim lists; the Turbo Vestrim list's has the path above it
    } programs[] = {
        {L"a-plain.exe", L""},
        {L"b-hidden.exe", kHiddenTip},
        {L"c-maker.exe", kMakerTip},
        {L"d-themed-hidden.exe", kHiddenTip},
    };

    SUBCASE("the Vestrim panel's two lists, the program's own tip alone") {
        VestrimView vestrim{window};
        vestrim.Open();
        for (const auto& program : programs) {
            CAPTURE(program.name);
            bool found = false;
            for (CheckList* list : {&vestrim.Unthemed(), &vestrim.Themed()}) {
                for (int line = 0; line < list->Count(); ++line) {
                    if (list->Text(line) != program.name) continue;
                    found = true;
                    list->SetCurrent(line);
                    CHECK(xpv_test::ToolText(tooltips, list->Handle()) == program.tip);
                }
            }
            CHECK(found);
        }
        // The lists' texts are the file names, as ever.
        CHECK(vestrim.Themed().Count() == 1);
    }
    SUBCASE("the Turbo Vestrim results: the path, and the own manifest's tip below it") {
        TurboView turbo{window};
        turbo.Search();
        REQUIRE(turbo.Results().Count() == 3);
        for (int line = 0; line < turbo.Results().Count(); ++line) {
            const std::wstring path = turbo.PathOfLine(line);
            CAPTURE(path);
            std::wstring tip;
            for (const auto& program : programs) {
                if (window.Path(program.name) == path) tip = program.tip;
            }
            turbo.Results().SetCurrent(line);
            CHECK(xpv_test::ToolText(tooltips, turbo.Results().Handle()) == (tip.empty() ? path : path + L"\r\n" + tip));
        }
    }
}
