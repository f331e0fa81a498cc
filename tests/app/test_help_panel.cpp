#include <windows.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "app/HelpText.h"
#include "app/MainForm.h"
#include "app/WindowText.h"
#include "app/MessagePump.h"
#include "support/PanelViews.h"
#include "support/TempFolder.h"
#include "support/WindowInput.h"
#include "support/WindowTestOptions.h"
#include "support/doctest_wide.h"

using xpv_test::TempFolder;

namespace {

// The help text taken apart: sections under their headings, bullet paragraphs as their lines.
struct Section {
    std::wstring heading;
    std::wstring underline;
    int blankLinesBefore = 0;
    std::vector<std::vector<std::wstring>> paragraphs;
};

bool StartsWith(const std::wstring& text, const std::wstring& start) { return text.rfind(start, 0) == 0; }

bool IsBullet(const std::wstring& line) { return StartsWith(line, L"\t* ") || StartsWith(line, L"\t\t* "); }

std::vector<std::wstring> LinesOf(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

std::vector<Section> SectionsOf(const std::wstring& text) {
    const std::vector<std::wstring> lines = LinesOf(text);
    std::vector<Section> sections;
    int blanks = 0;
    bool inParagraph = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::wstring& line = lines[i];
        const bool underlined = i + 1 < lines.size() && !lines[i + 1].empty() &&
                                lines[i + 1].find_first_not_of(L'=') == std::wstring::npos;
        if (underlined) {
            sections.push_back({line, lines[i + 1], blanks, {}});
            ++i;
            blanks = 0;
            inParagraph = false;
        } else if (line.empty()) {
            ++blanks;
            inParagraph = false;
        } else {
            REQUIRE_MESSAGE(!sections.empty(), "text before the first heading");
            auto& paragraphs = sections.back().paragraphs;
            if (!inParagraph || IsBullet(line)) paragraphs.emplace_back();
            paragraphs.back().push_back(line);
            inParagraph = true;
            blanks = 0;
        }
    }
    return sections;
}

// A paragraph's words, whatever its line breaks.
std::wstring WordsOf(const std::vector<std::wstring>& paragraph) {
    std::wstring joined;
    for (const std::wstring& line : paragraph) joined += line + L" ";
    std::wistringstream words(joined);
    std::wstring word, result;
    while (words >> word) result += (result.empty() ? L"" : L" ") + word;
    return result;
}

const Section& Named(const std::vector<Section>& sections, const std::wstring& heading) {
    const auto found = std::find_if(sections.begin(), sections.end(),
                                    [&](const Section& section) { return section.heading == heading; });
    REQUIRE(found != sections.end());
    return *found;
}

size_t CountOf(const std::wstring& text, const std::wstring& piece) {
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::wstring::npos; at = text.find(piece, at + 1)) ++count;
    return count;
}

struct HelpWindow {
    TempFolder folder;
    MainForm form{xpv_test::WindowTestOptions(folder.Path())};
    HelpPanel& panel = MainForm::TestView{form}.Panel<HelpPanel>();
    HWND box = nullptr;

    HelpWindow() {
        REQUIRE(form.Create());
        xpv_test::OpenPanel<HelpPanel>(form);
        box = GetDlgItem(panel.Window(), HelpPanel::kTxtHelp);
    }
    int FirstVisibleLine() const { return static_cast<int>(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0)); }
    std::pair<DWORD, DWORD> Selection() const {
        DWORD start = 0, end = 0;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
};

}  // namespace

TEST_CASE("The help text: six sections, each heading underlined to its length, then bullet paragraphs") {
    const std::vector<Section> sections = SectionsOf(HelpText());
    std::vector<std::wstring> headings;
    for (const Section& section : sections) headings.push_back(section.heading);
    CHECK(headings == std::vector<std::wstring>{L"Using XP Vestrim", L"File Details", L"Turbo Mode", L"History",
                                                L"Settings", L"Notes"});
    CHECK(StartsWith(HelpText(), L"Using XP Vestrim\r\n================\r\n\r\n"));
    for (size_t i = 0; i < sections.size(); ++i) {
        const Section& section = sections[i];
        CAPTURE(section.heading);
        CHECK(section.underline == std::wstring(section.heading.size(), L'='));
        if (i > 0) {
            CHECK(section.blankLinesBefore >= 2);
            CHECK(section.blankLinesBefore <= 3);
        }
        CHECK(section.paragraphs.size() >= 3);
        for (const auto& paragraph : section.paragraphs) {
            CAPTURE(paragraph.front());
            CHECK(IsBullet(paragraph.front()));
            const bool nested = StartsWith(paragraph.front(), L"\t\t* ");
            for (size_t line = 1; line < paragraph.size(); ++line) {
                CHECK(StartsWith(paragraph[line], nested ? L"\t\t  " : L"\t  "));
            }
            for (const std::wstring& line : paragraph) {
                CHECK(line.size() <= 55);
                CHECK(line.back() != L' ');
            }
        }
    }
}

TEST_CASE("The help text: the four file details stand as a nested list") {
    const std::vector<Section> sections = SectionsOf(HelpText());
    const Section& details = Named(sections, L"File Details");
    std::vector<std::wstring> nested;
    for (const auto& paragraph : details.paragraphs) {
        for (const std::wstring& line : paragraph) {
            if (StartsWith(line, L"\t\t* ")) nested.push_back(line.substr(4));
        }
    }
    CHECK(nested ==
          std::vector<std::wstring>{L"Company Name", L"Product Name", L"Application Name", L"Description"});
}

TEST_CASE("The help text: the quoted pieces stand unbroken in their sections") {
    const std::vector<Section> sections = SectionsOf(HelpText());
    struct Piece {
        const wchar_t* section;
        const wchar_t* text;
    };
    const Piece pieces[] = {
        {L"Using XP Vestrim", L"\"Apply XP Theme NOW!!!\""},
        {L"Using XP Vestrim", L"\"Remove XP Theme NOW!!!\""},
        {L"Turbo Mode", L"\"New Search\""},
        {L"Turbo Mode", L"\"Scan Subdirectories\""},
        {L"Turbo Mode", L"\"GO\""},
        {L"Turbo Mode", L"\"Show  Results\""},
        {L"Turbo Mode", L"\"+\""},
        {L"Turbo Mode", L"\"-\""},
        {L"History", L"the tool tip will tell you its location."},
        {L"History", L"\"Untheme Selected Applications\""},
        {L"Settings", L"until you log off and log in again."},
        {L"Notes", L"prefer external manifests"},
        {L"Notes", L"the change shows after Windows restarts."},
    };
    for (const Piece& piece : pieces) {
        CAPTURE(piece.text);
        const Section& section = Named(sections, piece.section);
        bool onOneLine = false;
        for (const auto& paragraph : section.paragraphs) {
            for (const std::wstring& line : paragraph) onOneLine = onOneLine || line.find(piece.text) != std::wstring::npos;
        }
        CHECK(onOneLine);
    }
}

TEST_CASE("The help text names the program in full twice: Settings' first paragraph, the notes' next-to-last") {
    const std::wstring fullName = L"Orlek - XP Vestrim";
    CHECK(CountOf(HelpText(), fullName) == 2);
    const std::vector<Section> sections = SectionsOf(HelpText());
    const Section& settings = Named(sections, L"Settings");
    const Section& notes = Named(sections, L"Notes");
    CHECK(WordsOf(settings.paragraphs.front()).find(fullName) != std::wstring::npos);
    CHECK(WordsOf(notes.paragraphs[notes.paragraphs.size() - 2]).find(fullName) != std::wstring::npos);
    // Elsewhere the short name.
    CHECK(CountOf(HelpText(), L"XP Vestrim") > 5);
}

TEST_CASE("The help text: one notes paragraph stands twice, in the same words broken differently") {
    const std::vector<Section> sections = SectionsOf(HelpText());
    const Section& notes = Named(sections, L"Notes");
    int twins = 0;
    for (size_t i = 0; i < notes.paragraphs.size(); ++i) {
        for (size_t j = i + 1; j < notes.paragraphs.size(); ++j) {
            if (WordsOf(notes.paragraphs[i]) != WordsOf(notes.paragraphs[j])) continue;
            ++twins;
            CHECK(notes.paragraphs[i] != notes.paragraphs[j]);
        }
    }
    CHECK(twins == 1);
}

TEST_CASE("The help text: lines end in CR LF only, about 5,700 characters") {
    const std::wstring& text = HelpText();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r') CHECK((i + 1 < text.size() && text[i + 1] == L'\n'));
        if (text[i] == L'\n') CHECK((i > 0 && text[i - 1] == L'\r'));
    }
    CHECK(text.size() >= 5500);
    CHECK(text.size() <= 5900);
}

TEST_CASE("The help box: read-only, scrolling, in its colours and font, at its first line with nothing selected") {
    HelpWindow help;
    MainForm& form = help.form;
    CHECK(IsWindowVisible(help.panel.Window()));
    REQUIRE(GetParent(help.box) == help.panel.Window());
    RECT rect;
    GetWindowRect(help.box, &rect);
    MapWindowPoints(nullptr, help.panel.Window(), reinterpret_cast<POINT*>(&rect), 2);
    const RECT expected = MainForm::TestView{form}.Controls().Scale().Rect(120, 120, 4815, 4455);
    CHECK(EqualRect(&rect, &expected));

    CHECK(TextOf(help.box) == HelpText());
    const LONG style = GetWindowLongW(help.box, GWL_STYLE);
    CHECK((style & ES_MULTILINE) != 0);
    CHECK((style & ES_READONLY) != 0);
    CHECK((style & WS_VSCROLL) != 0);
    CHECK((style & WS_TABSTOP) != 0);
    // Long lines wrap; nothing scrolls sideways.
    CHECK((style & (ES_AUTOHSCROLL | WS_HSCROLL)) == 0);
    CHECK(help.FirstVisibleLine() == 0);
    CHECK(help.Selection() == std::pair<DWORD, DWORD>{0, 0});

    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(help.box, WM_GETFONT, 0, 0)), sizeof(font), &font);
    CHECK(std::wstring(font.lfFaceName) == L"Times New Roman");
    CHECK(font.lfHeight == MainForm::TestView{form}.Controls().Scale().FontHeight(9));
    CHECK(font.lfWeight == FW_BOLD);
    CHECK_FALSE(font.lfItalic);

    // A read-only box asks for its colours as a label does.
    HDC dc = CreateCompatibleDC(nullptr);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(help.panel.Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(help.box)));
    LOGBRUSH back{};
    GetObjectW(brush, sizeof(back), &back);
    CHECK(back.lbColor == RGB(0xE0, 0xE0, 0xE0));
    CHECK(GetBkColor(dc) == RGB(0xE0, 0xE0, 0xE0));
    CHECK(GetTextColor(dc) == RGB(0x00, 0x00, 0x80));
    DeleteDC(dc);

    // Every line of the text fits the box: the box breaks none of them, and the text is taller
    // than the box, so the scroll bar has something to do.
    const int lines = static_cast<int>(SendMessageW(help.box, EM_GETLINECOUNT, 0, 0));
    CHECK(lines == static_cast<int>(LinesOf(HelpText()).size()));
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof(scroll);
    scroll.fMask = SIF_RANGE | SIF_PAGE;
    REQUIRE(GetScrollInfo(help.box, SB_VERT, &scroll));
    CHECK(scroll.nMax - scroll.nMin + 1 > static_cast<int>(scroll.nPage));
}

TEST_CASE("The help box keeps its place when the panel is opened again") {
    HelpWindow help;
    SendMessageW(help.box, EM_LINESCROLL, 0, 30);
    const int scrolled = help.FirstVisibleLine();
    CHECK(scrolled == 30);
    xpv_test::OpenPanel<AboutPanel>(help.form);
    CHECK_FALSE(IsWindowVisible(help.panel.Window()));
    xpv_test::OpenPanel<HelpPanel>(help.form);
    CHECK(IsWindowVisible(help.panel.Window()));
    CHECK(help.FirstVisibleLine() == scrolled);
}

TEST_CASE("Tabbing into the help box selects nothing; Enter and Escape in it leave the window as it is") {
    HelpWindow help;
    // With nothing focused, Tab goes to the window's first stop: the box, the shown panel's only one.
    // (Whether the window is active decides only where the focus ends, which other test windows
    // may take.)
    SetFocus(nullptr);
    REQUIRE(GetNextDlgTabItem(help.form.Window(), nullptr, FALSE) == help.box);
    xpv_test::PressKey(help.form.Window(), VK_TAB);
    const auto [start, end] = help.Selection();
    CHECK(start == end);

    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        CAPTURE(key);
        xpv_test::PressKey(help.box, key);
        CHECK(IsWindow(help.panel.Window()));
        CHECK(IsWindowVisible(help.panel.Window()));
        CHECK(TextOf(help.box) == HelpText());
    }
}
