#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/WebPageOpener.h"
#include "app/WindowText.h"
#include "app/MessagePump.h"
#include "support/AccessibleName.h"
#include "support/PanelViews.h"
#include "support/TempFolder.h"
#include "support/WindowInput.h"
#include "support/WindowTestOptions.h"
#include "support/doctest_wide.h"

using xpv_test::TempFolder;

namespace {

const std::wstring kSite = L"http://www.example.com";
const std::wstring kProgrammingPage = kSite + L"/programming.htm";

// Stands in for a browser's automation object, which would start a browser: answers to
// "Visible", "navigate" and "Quit" (in any letter case, as automation names go), writes down each
// call it gets, and fails the one member it is told to fail.
class FakeBrowser : public IDispatch {
public:
    explicit FakeBrowser(std::wstring failing = L"") : failing_(std::move(failing)) {}

    std::vector<std::wstring> calls;
    ULONG references = 1;  // the test's own

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid != IID_IUnknown && iid != IID_IDispatch) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (count != 1) return E_INVALIDARG;
        for (DISPID id = 0; id < static_cast<DISPID>(std::size(kMembers)); ++id) {
            if (_wcsicmp(names[0], kMembers[id]) == 0) {
                ids[0] = id;
                return S_OK;
            }
        }
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD kind, DISPPARAMS* parameters, VARIANT*,
                                     EXCEPINFO*, UINT*) override {
        if (id < 0 || id >= static_cast<DISPID>(std::size(kMembers))) return DISP_E_MEMBERNOTFOUND;
        const std::wstring member = kMembers[id];
        const std::wstring call = Described(member, kind, *parameters);
        calls.push_back(call);
        if (call.empty()) return DISP_E_TYPEMISMATCH;
        return member == failing_ ? E_FAIL : S_OK;
    }

private:
    static constexpr const wchar_t* kMembers[] = {L"Visible", L"Navigate", L"Quit"};

    // The call as written down; empty when it does not match how the member is used.
    static std::wstring Described(const std::wstring& member, WORD kind, const DISPPARAMS& parameters) {
        if (member == L"Visible") {
            const bool put = kind == DISPATCH_PROPERTYPUT && parameters.cArgs == 1 && parameters.cNamedArgs == 1 &&
                             parameters.rgdispidNamedArgs[0] == DISPID_PROPERTYPUT &&
                             parameters.rgvarg[0].vt == VT_BOOL;
            if (!put) return L"";
            return parameters.rgvarg[0].boolVal == VARIANT_TRUE ? L"Visible = True" : L"Visible = False";
        }
        if (!(kind & DISPATCH_METHOD) || parameters.cNamedArgs != 0) return L"";
        if (member == L"Quit") return parameters.cArgs == 0 ? L"Quit" : L"";
        if (parameters.cArgs != 1 || parameters.rgvarg[0].vt != VT_BSTR) return L"";
        const BSTR address = parameters.rgvarg[0].bstrVal;
        return L"Navigate " + std::wstring(address, SysStringLen(address));
    }

    std::wstring failing_;
};

// Both ways out to a browser, written down instead of taken. Without a fake browser object, the
// automation browser cannot be made, as on current systems.
struct RecordingBrowsers : Browsers {
    FakeBrowser* automation = nullptr;
    int automationBrowsersMade = 0;
    std::vector<std::wstring> defaultBrowser;
    std::function<void()> whileOpening;

    AutomationObject NewAutomationBrowser() override {
        ++automationBrowsersMade;
        if (!automation) return {};
        automation->AddRef();
        return AutomationObject(ComPointer<IDispatch>(automation));
    }
    void OpenInDefaultBrowser(const std::wstring& address) override {
        if (whileOpening) whileOpening();
        defaultBrowser.push_back(address);
    }
};

// The panel's controls by their ids.
struct AboutView {
    AboutPanel& panel;

    HWND Window() const { return panel.Window(); }
    HWND Control(int id) const { return GetDlgItem(panel.Window(), id); }
    std::vector<HWND> Option1() const {
        return {Control(AboutPanel::kOption1First), Control(AboutPanel::kOption1First + 1),
                Control(AboutPanel::kOption1First + 2)};
    }
};

struct AboutWindow {
    TempFolder folder;
    MainForm form{xpv_test::WindowTestOptions(folder.Path())};
    AboutView panel{MainForm::TestView{form}.Panel<AboutPanel>()};
    RecordingBrowsers browsers;

    AboutWindow() {
        REQUIRE(form.Create());
        panel.panel.UseBrowsers(browsers);
        xpv_test::OpenPanel<AboutPanel>(form);
        REQUIRE(IsWindowVisible(panel.Window()));
    }
    // A press and release of the left button on the control, at its middle.
    static void Click(HWND control) {
        RECT client;
        GetClientRect(control, &client);
        const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
        SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, middle);
        SendMessageW(control, WM_LBUTTONUP, 0, middle);
    }
    // The bullets' marks, "*" for the selected one, "-" for the others.
    std::string Bullets() const {
        std::string marks;
        for (HWND bullet : panel.Option1()) marks += SendMessageW(bullet, BM_GETCHECK, 0, 0) == BST_CHECKED ? '*' : '-';
        return marks;
    }
};

RECT RectIn(HWND control, HWND container) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

TEST_CASE("Every label of the About panel: its rectangle, text, font, colour and alignment; its text fits") {
    AboutWindow about;
    const AboutView& panel = about.panel;
    const TwipScale& scale = MainForm::TestView{about.form}.Controls().Scale();
    struct Label {
        const char* name;
        HWND control;
        TwipRect rect;
        std::wstring text;  // empty: any one-line text
        const wchar_t* face;
        double points;
        bool italic;
        COLORREF colour;
        LONG alignment;
        int maxLines;
    };
    const COLORREF navy = RGB(0, 0, 0x80), maroon = RGB(0x80, 0, 0), purple = RGB(0x80, 0, 0x80);
    const Label labels[] = {
        {"lblAboutTitle", panel.Control(AboutPanel::kLblAboutTitle), {0, 240, 5055, 600}, L"Orlek - XP Vestrim", L"Times New Roman", 26.25,
         false, maroon, SS_CENTER, 1},
        {"lblVersion", panel.Control(AboutPanel::kLblVersion), {2160, 800, 2775, 375}, L"version 1.2   ", L"Times New Roman", 12, true,
         maroon, SS_RIGHT, 1},
        {"lblAbout", panel.Control(AboutPanel::kLblAbout), {240, 1320, 4575, 1575},
         L"Thank you for trying out Orlek - XP Vestrim. I hope you have enjoyed it and found it useful. If you have "
         L"any remarks about the program please contact me at the email below. Also visit my website for more "
         L"exciting programs.",
         L"Times New Roman", 11.25, false, navy, SS_LEFT, 6},
        {"lblWebsite", panel.Control(AboutPanel::kLblWebsite), {600, 3120, 4215, 255}, L"Website: " + kSite, L"MS Sans Serif", 9.75, false,
         navy, SS_LEFT, 1},
        {"lblEmail", panel.Control(AboutPanel::kLblEmail), {600, 3480, 4215, 255}, L"Email: info@example.com", L"MS Sans Serif", 9.75, false,
         navy, SS_LEFT, 1},
        {"lblProgramming", panel.Control(AboutPanel::kLblProgramming), {600, 3840, 4455, 495}, L"Programming Information", L"MS Sans Serif",
         9.75, false, navy, SS_LEFT, 1},
        {"Label10", panel.Control(AboutPanel::kLabel10), {0, 4320, 5055, 255}, L"", L"Times New Roman", 11.25, true, purple, SS_RIGHT, 1},
    };
    for (const Label& label : labels) {
        CAPTURE(label.name);
        REQUIRE(GetParent(label.control) == panel.Window());
        const RECT rect = RectIn(label.control, panel.Window());
        const RECT expected = scale.Rect(label.rect.left, label.rect.top, label.rect.width, label.rect.height);
        CHECK(EqualRect(&rect, &expected));
        const std::wstring text = TextOf(label.control);
        if (!label.text.empty()) CHECK(text == label.text);
        CHECK((GetWindowLongW(label.control, GWL_STYLE) & SS_TYPEMASK) == label.alignment);

        const auto fontHandle = reinterpret_cast<HFONT>(SendMessageW(label.control, WM_GETFONT, 0, 0));
        LOGFONTW font{};
        GetObjectW(fontHandle, sizeof(font), &font);
        CHECK(std::wstring(font.lfFaceName) == label.face);
        CHECK(font.lfHeight == scale.FontHeight(label.points));
        CHECK(font.lfWeight == FW_BOLD);
        CHECK(static_cast<bool>(font.lfItalic) == label.italic);

        // See-through: the text in its colour straight on the panel's picture.
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(panel.Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(label.control));
        CHECK(GetTextColor(dc) == label.colour);
        CHECK(GetBkMode(dc) == TRANSPARENT);

        // The text as the label breaks it: no more lines than the label is meant to show, and no
        // taller than the label.
        const HGDIOBJ previous = SelectObject(dc, fontHandle);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        RECT needed{0, 0, rect.right - rect.left, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        CHECK(needed.right - needed.left <= rect.right - rect.left);
        CHECK(needed.bottom <= rect.bottom - rect.top);
        CHECK(needed.bottom <= label.maxLines * metrics.tmHeight);
        SelectObject(dc, previous);
        DeleteDC(dc);
    }
}

TEST_CASE("A screen reader names the About panel, its links, its labels and its bullets by what they show") {
    AboutWindow about;
    const AboutView& panel = about.panel;
    struct Named {
        const char* control;
        HWND window;
        std::wstring name;
    };
    const Named named[] = {
        {"picAbout", panel.Window(), L"About"},
        {"lblWebsite", panel.Control(AboutPanel::kLblWebsite), L"Website: " + kSite},
        {"lblProgramming", panel.Control(AboutPanel::kLblProgramming), L"Programming Information"},
        {"lblEmail", panel.Control(AboutPanel::kLblEmail), L"Email: info@example.com"},
        {"lblAboutTitle", panel.Control(AboutPanel::kLblAboutTitle), L"Orlek - XP Vestrim"},
        {"lblVersion", panel.Control(AboutPanel::kLblVersion), L"version 1.2   "},
        {"Option1(0)", panel.Option1()[0], L"Option1"},
        {"Option1(2)", panel.Option1()[2], L"Option1"},
    };
    for (const Named& control : named) {
        CAPTURE(control.control);
        CHECK(xpv_test::AccessibleName(control.window).value_or(L"(no name)") == control.name);
    }
}

TEST_CASE("The three bullets: the first one marked; a click moves only the mark") {
    AboutWindow about;
    const AboutView& panel = about.panel;
    for (size_t i = 0; i < panel.Option1().size(); ++i) {
        CAPTURE(i);
        const RECT rect = RectIn(panel.Option1()[i], panel.Window());
        const RECT expected = MainForm::TestView{about.form}.Controls().Scale().Rect(360, 3120 + 360 * static_cast<int>(i), 210, 210);
        CHECK(EqualRect(&rect, &expected));
        CHECK(TextOf(panel.Option1()[i]) == L"Option1");
        CHECK((GetWindowLongW(panel.Option1()[i], GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON);
    }
    CHECK(about.Bullets() == "*--");

    about.Click(panel.Option1()[2]);
    CHECK(about.Bullets() == "--*");
    about.Click(panel.Option1()[1]);
    CHECK(about.Bullets() == "-*-");
    CHECK(about.browsers.automationBrowsersMade == 0);
    CHECK(about.browsers.defaultBrowser.empty());
}

TEST_CASE("The arrow keys move the mark among the bullets and no further") {
    AboutWindow about;
    const AboutView& panel = about.panel;
    // Each press on the marked bullet, whether or not the window is active.
    int marked = 0;
    for (const char* expected : {"-*-", "--*", "*--"}) {
        xpv_test::PressKey(panel.Option1()[marked], VK_DOWN);
        CHECK(about.Bullets() == expected);
        marked = (marked + 1) % 3;
    }
}

TEST_CASE("The web site and programming lines open their pages, a new browser for every click") {
    AboutWindow about;
    const AboutView& panel = about.panel;
    about.Click(panel.Control(AboutPanel::kLblWebsite));
    CHECK(about.browsers.defaultBrowser == std::vector<std::wstring>{kSite});
    about.Click(panel.Control(AboutPanel::kLblProgramming));
    CHECK(about.browsers.defaultBrowser == std::vector<std::wstring>{kSite, kProgrammingPage});
    about.Click(panel.Control(AboutPanel::kLblWebsite));
    CHECK(about.browsers.defaultBrowser == std::vector<std::wstring>{kSite, kProgrammingPage, kSite});
    CHECK(about.browsers.automationBrowsersMade == 3);

    SUBCASE("with a working browser object, every click makes its own window and shows the page there") {
        FakeBrowser browser;
        about.browsers.automation = &browser;
        about.browsers.defaultBrowser.clear();
        about.Click(panel.Control(AboutPanel::kLblProgramming));
        about.Click(panel.Control(AboutPanel::kLblProgramming));
        CHECK(browser.calls == std::vector<std::wstring>{L"Visible = True", L"Navigate " + kProgrammingPage,
                                                         L"Visible = True", L"Navigate " + kProgrammingPage});
        CHECK(about.browsers.automationBrowsersMade == 5);
        CHECK(about.browsers.defaultBrowser.empty());
        CHECK(browser.references == 1);
    }
}

TEST_CASE("Clicking the e-mail line, the title, the note, the version or the notice does nothing") {
    AboutWindow about;
    const AboutView& panel = about.panel;
    for (HWND label : {panel.Control(AboutPanel::kLblEmail), panel.Control(AboutPanel::kLblAboutTitle), panel.Control(AboutPanel::kLblAbout), panel.Control(AboutPanel::kLblVersion), panel.Control(AboutPanel::kLabel10)}) {
        CAPTURE(TextOf(label));
        about.Click(label);
        // Clicks pass through them to the panel.
        CHECK(SendMessageW(label, WM_NCHITTEST, 0, 0) == HTTRANSPARENT);
    }
    CHECK(about.browsers.automationBrowsersMade == 0);
    CHECK(about.browsers.defaultBrowser.empty());
    CHECK(about.Bullets() == "*--");
}

TEST_CASE("The link lines show the hand pointer") {
    AboutWindow about;
    const AboutView& panel = about.panel;
    for (HWND link : {panel.Control(AboutPanel::kLblWebsite), panel.Control(AboutPanel::kLblProgramming)}) {
        CAPTURE(TextOf(link));
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        CHECK(GetCursor() == LoadCursorW(nullptr, IDC_HAND));
    }
}

TEST_CASE("Closing the window while a link opens waits until the page has gone to the browser") {
    auto about = std::make_unique<AboutWindow>();
    HWND window = about->form.Window();
    bool openWhileClosing = false;
    about->browsers.whileOpening = [&] {
        // The browser takes its time, and the message loop runs meanwhile.
        PostMessageW(window, WM_CLOSE, 0, 0);
        DoEvents();
        openWhileClosing = IsWindow(window) != FALSE;
    };
    about->Click(about->panel.Control(AboutPanel::kLblWebsite));
    CHECK(openWhileClosing);
    CHECK(about->browsers.defaultBrowser == std::vector<std::wstring>{kSite});
    DoEvents();
    CHECK_FALSE(IsWindow(window));
}

TEST_CASE("Opening a page: the browser object when every step works, else the default browser") {
    struct Case {
        const char* name;
        bool objectMade;
        const wchar_t* failing;
        std::vector<std::wstring> calls;
        bool defaultBrowserOpens;
    };
    const std::wstring navigate = L"Navigate " + kProgrammingPage;
    const Case cases[] = {
        {"the object cannot be made", false, L"", {}, true},
        {"Visible fails", true, L"Visible", {L"Visible = True", L"Quit"}, true},
        {"navigate fails", true, L"Navigate", {L"Visible = True", navigate, L"Quit"}, true},
        {"every step works", true, L"", {L"Visible = True", navigate}, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        FakeBrowser browser(c.failing);
        RecordingBrowsers browsers;
        if (c.objectMade) browsers.automation = &browser;
        OpenWebPage(kProgrammingPage, browsers);
        CHECK(browsers.automationBrowsersMade == 1);
        CHECK(browser.calls == c.calls);
        CHECK(browsers.defaultBrowser ==
              (c.defaultBrowserOpens ? std::vector<std::wstring>{kProgrammingPage} : std::vector<std::wstring>{}));
        // Nothing of the object is kept.
        CHECK(browser.references == 1);
    }
}
