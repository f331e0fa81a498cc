#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "history/HistoryLines.h"
#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFile.h"
#include "platform/IniEditor.h"
#include "app/MessagePump.h"
#include "platform/UniqueHandle.h"
#include "theming/FailureReport.h"
#include "support/InsideYield.h"
#include "support/PanelViews.h"
#include "support/TempFolder.h"
#include "support/WindowInput.h"
#include "support/WindowTestOptions.h"
#include "support/doctest_profile.h"

using xpv_test::TempFolder;

namespace {

// Values come back as the platform reads them: without surrounding blanks.
struct History {
    TempFolder appFolder{L"xpv-app"};
    TempFolder programs{L"xpv-programs"};
    std::vector<std::wstring> messages;
    MainForm form{xpv_test::WindowTestOptions(appFolder.Path(), &messages)};
    HistoryStore& store = MainForm::TestView{form}.History();
    HistoryPanel& panel = MainForm::TestView{form}.Panel<HistoryPanel>();
    ControlFactory& controls = MainForm::TestView{form}.Controls();

    History() {
        REQUIRE(form.Create());
    }
    CheckList& List() const { return HistoryPanel::TestView{panel}.lstHistory(); }
    // The manifest path of each line, from the top.
    std::vector<std::wstring> Paths() const { return HistoryPanel::TestView{panel}.ManifestPaths(); }
    HWND Control(int id) const { return GetDlgItem(panel.Window(), id); }
    void SelectAll() const { xpv_test::ClickButton(Control(HistoryPanel::kCmdHistorySelAll)); }
    // A themed program: its manifest written as the program writes them, and its entry recorded.
    std::wstring Themed(const std::wstring& relativeExe, const std::wstring& product, const std::wstring& description) {
        const std::wstring exe = programs / relativeExe;
        const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
        CreateDirectoryW(folder.c_str(), nullptr);
        const std::wstring manifest = ManifestPathFor(exe);
        REQUIRE(WriteManifestFile(manifest, ComposeManifestDocument({L"C", product, relativeExe, description},
                                                                    ProcessorArchitecture::X86)));
        store.Record(manifest, HistoryValueFor(product, description));
        return manifest;
    }
    void Open() {
        xpv_test::OpenPanel<HistoryPanel>(form);
    }
    std::vector<std::wstring> Lines() const {
        std::vector<std::wstring> lines;
        for (int i = 0; i < List().Count(); ++i) lines.push_back(List().Text(i));
        return lines;
    }
    std::vector<ProfileEntry> Stored() const {
        return ReadSectionEntries({store.File(), L"Main"});
    }
    int IndexOf(const std::wstring& line) const {
        for (int i = 0; i < List().Count(); ++i) {
            if (List().Text(i) == line) return i;
        }
        return -1;
    }
    void Untheme() {
        xpv_test::ClickButton(Control(HistoryPanel::kCmdHistoryRemoveTheme));
    }
};

}  // namespace

TEST_CASE("The History panel lists every recorded application, sorted, linked to its manifest") {
    History history;
    const std::wstring one = history.Themed(L"One\\one.exe", L"One", L"First program");
    const std::wstring two = history.Themed(L"Two\\two.exe", L"", L"");
    history.Open();
    CHECK(IsWindowVisible(history.panel.Window()));
    CHECK(history.Lines() == std::vector<std::wstring>{ExecutablePathOfManifest(two) + L" [00001]",
                                                       L"One >> First program [00000]"});
    CHECK(history.Paths() == std::vector<std::wstring>{two, one});
    CHECK_FALSE(history.List().IsTicked(0));
    // With no line current, the tooltip names the file the history lives in.
    CHECK(history.controls.TooltipOf(history.List().Handle()) == L"History file: " + history.store.File());

    // Clicking an item shows where its program lies.
    history.List().SetCurrent(0);
    CHECK(history.controls.TooltipOf(history.List().Handle()) == ExecutablePathOfManifest(two));
    history.List().SetCurrent(1);
    CHECK(history.controls.TooltipOf(history.List().Handle()) == ExecutablePathOfManifest(one));

    SUBCASE("theming again replaces the line's value") {
        history.Themed(L"One\\one.exe", L"One", L"Second theming");
        CHECK(history.Stored() == std::vector<ProfileEntry>{{one, L"One >> Second theming"}, {two, L">>"}});
    }
}

TEST_CASE("Entries whose manifest is gone are dropped in one rewrite; the rest keep counting from 0") {
    History history;
    std::vector<std::wstring> manifests;
    for (int i = 0; i < 13; ++i) {
        manifests.push_back(history.Themed(L"p" + std::to_wstring(i) + L".exe", L"Prog" + std::to_wstring(100 + i), L"d"));
    }
    // The first and the fifth lose their manifests outside the program.
    for (int gone : {0, 4}) {
        SetFileAttributesW(manifests[gone].c_str(), FILE_ATTRIBUTE_NORMAL);
        REQUIRE(DeleteFileW(manifests[gone].c_str()));
    }
    history.Open();
    REQUIRE(history.List().Count() == 11);
    CHECK(history.Paths().front() == manifests[1]);
    CHECK(history.IndexOf(L"Prog101 >> d [00000]") == 0);
    CHECK(history.IndexOf(L"Prog112 >> d [00010]") == 10);  // the eleventh entry
    const std::vector<ProfileEntry> stored = history.Stored();
    REQUIRE(stored.size() == 11);
    CHECK(stored.front().key == manifests[1]);
    CHECK(stored[3].key == manifests[5]);
}

TEST_CASE("Entries on a drive that cannot be reached now are kept") {
    History history;
    history.Themed(L"here.exe", L"Here", L"");
    // A drive that was there when the program was themed, and is gone when the history loads.
    REQUIRE(DefineDosDeviceW(0, L"Q:", history.programs.Path().c_str()));
    history.store.Record(L"Q:\\Removable\\tool.exe.manifest", L"Tool >> on a stick");
    REQUIRE(DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"Q:", nullptr));
    history.store.Record(L"\\\\nohost\\share\\net.exe.manifest", L"Net >> offline");
    history.Open();
    CHECK(history.Lines() == std::vector<std::wstring>{L"Here >> [00000]", L"Net >> offline [00002]",
                                                       L"Tool >> on a stick [00001]"});
    CHECK(history.Stored().size() == 3);
}

TEST_CASE("Untheming removes the manifests of the lines ticked when it is pressed, and their entries") {
    History history;
    const std::wstring a = history.Themed(L"a.exe", L"A", L"");
    const std::wstring b = history.Themed(L"b.exe", L"B", L"");
    const std::wstring c = history.Themed(L"c.exe", L"C", L"");
    const std::wstring d = history.Themed(L"d.exe", L"D", L"");
    history.Open();

    SUBCASE("select all, then untheme: nothing left") {
        history.SelectAll();
        bool buttonEnabled = true, stripEnabled = true;
        xpv_test::InsideNextYield duringRemoval([&] {
            buttonEnabled = IsWindowEnabled(history.Control(HistoryPanel::kCmdHistoryRemoveTheme)) != FALSE;
            stripEnabled = IsWindowEnabled(history.form.QuickMenuStrip()) != FALSE;
        });
        history.Untheme();
        REQUIRE(duringRemoval.Ran());
        CHECK_FALSE(buttonEnabled);
        CHECK_FALSE(stripEnabled);
        CHECK(history.List().Count() == 0);
        CHECK(history.Stored().empty());
        for (const std::wstring& manifest : {a, b, c, d}) CHECK_FALSE(IsManifestPresent(manifest));
        CHECK(IsWindowEnabled(history.Control(HistoryPanel::kCmdHistoryRemoveTheme)));
        CHECK(IsWindowEnabled(history.form.QuickMenuStrip()));
        CHECK(history.messages.empty());
    }

    SUBCASE("the current line removed: the tooltip names the history file again") {
        history.List().SetCurrent(1);
        history.List().SetTicked(1, true);
        history.Untheme();
        CHECK(history.List().Current() == -1);
        CHECK(history.controls.TooltipOf(history.List().Handle()) == L"History file: " + history.store.File());
    }

    SUBCASE("a history that cannot be changed keeps the entries; the manifests go, and that is told once") {
        REQUIRE(SetFileAttributesW(history.store.File().c_str(), FILE_ATTRIBUTE_READONLY));
        history.List().SetTicked(0, true);
        history.List().SetTicked(2, true);
        history.Untheme();
        CHECK_FALSE(IsManifestPresent(a));
        CHECK_FALSE(IsManifestPresent(c));
        CHECK(history.Lines() == std::vector<std::wstring>{L"B >> [00001]", L"D >> [00003]"});
        CHECK(history.Stored().size() == 4);
        CHECK(history.messages == std::vector<std::wstring>{HistoryTroubleText(HistoryStore::Trouble::NotUpdated)});
    }

    SUBCASE("three ticked, the first already without manifest: it stays ticked, the others go") {
        SetFileAttributesW(a.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(a.c_str());
        for (int i : {0, 1, 2}) history.List().SetTicked(i, true);
        history.Untheme();
        CHECK(history.Lines() == std::vector<std::wstring>{L"A >> [00000]", L"D >> [00003]"});
        CHECK(history.List().IsTicked(0));
        CHECK_FALSE(history.List().IsTicked(1));
        CHECK(IsManifestPresent(d));
        CHECK(history.Stored() == std::vector<ProfileEntry>{{a, L"A >>"}, {d, L"D >>"}});
        // The hidden list is untouched: the remaining lines still find their own paths.
        history.List().SetCurrent(1);
        CHECK(history.controls.TooltipOf(history.List().Handle()) == ExecutablePathOfManifest(d));
    }

    SUBCASE("a manifest that cannot be deleted keeps its line, unticked, and its entry") {
        UniqueHandle held(CreateFileW(b.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        REQUIRE(held);
        history.SelectAll();
        history.Untheme();
        CHECK(history.Lines() == std::vector<std::wstring>{L"B >> [00001]"});
        CHECK_FALSE(history.List().IsTicked(0));
        CHECK(IsManifestPresent(b));
        CHECK(history.Stored() == std::vector<ProfileEntry>{{b, L"B >>"}});
        // Told once, at the end.
        REQUIRE(history.messages.size() == 1);
        CHECK(history.messages[0].find(ExecutablePathOfManifest(b) + L" - in use by another program") !=
              std::wstring::npos);
    }

    // The lines ticked when the button is pressed are the ones removed, whatever the list shows
    // while the removal yields.
    const struct {
        const char* name;
        std::function<void()> meanwhile;
    } changes[] = {
        {"the user unticks a line and ticks another meanwhile",
         [&] {
             history.List().SetTicked(2, false);
             history.List().SetTicked(3, true);
         }},
        // As when the panel is shown again: the lines are read anew, their ticks cleared.
        {"the list is loaded again meanwhile", [&] { history.panel.Shown(); }},
    };
    for (const auto& change : changes) {
        SUBCASE(change.name) {
            history.List().SetTicked(0, true);
            history.List().SetTicked(2, true);
            xpv_test::InsideNextYield duringRemoval(change.meanwhile);
            history.Untheme();
            REQUIRE(duringRemoval.Ran());
            CHECK_FALSE(IsManifestPresent(a));
            CHECK(IsManifestPresent(b));
            CHECK_FALSE(IsManifestPresent(c));
            CHECK(IsManifestPresent(d));
            CHECK(history.Stored() == std::vector<ProfileEntry>{{b, L"B >>"}, {d, L"D >>"}});
            CHECK(history.Lines() == std::vector<std::wstring>{L"B >> [00001]", L"D >> [00003]"});
            CHECK(history.messages.empty());
        }
    }
}

TEST_CASE("A history that cannot be read or kept up to date is told once each time History opens") {
    const struct {
        const char* name;
        HistoryStore::Trouble trouble;
        std::vector<std::wstring> lines;
    } cases[] = {
        {"a folder where the file should be", HistoryStore::Trouble::Unreadable, {}},
        {"read-only, naming a manifest that is gone", HistoryStore::Trouble::NotUpdated, {L"Kept >> [00000]"}},
    };
    for (const auto& c : cases) {
        CAPTURE(c.name);
        History history;
        if (c.trouble == HistoryStore::Trouble::Unreadable) {
            REQUIRE(CreateDirectoryW(history.store.File().c_str(), nullptr));
        } else {
            history.Themed(L"kept.exe", L"Kept", L"");
            const std::wstring gone = history.Themed(L"gone.exe", L"Gone", L"");
            SetFileAttributesW(gone.c_str(), FILE_ATTRIBUTE_NORMAL);
            REQUIRE(DeleteFileW(gone.c_str()));
            REQUIRE(SetFileAttributesW(history.store.File().c_str(), FILE_ATTRIBUTE_READONLY));
        }
        history.Open();
        CHECK(history.Lines() == c.lines);
        CHECK(history.messages == std::vector<std::wstring>{HistoryTroubleText(c.trouble)});

        xpv_test::OpenPanel<HelpPanel>(history.form);
        history.Open();
        CHECK(history.messages.size() == 2);
        if (c.trouble == HistoryStore::Trouble::NotUpdated) CHECK(history.Stored().size() == 2);
    }
}

TEST_CASE("A planted history lists and removes nothing but this program's manifests") {
    History history;
    const std::wstring ours = history.Themed(L"ours.exe", L"Ours", L"");
    // Existing files that are no manifests of ours, one of them shaped like our document.
    const std::wstring text = history.programs / L"notes.txt";
    const std::wstring shaped = history.programs / L"shaped.bin";
    REQUIRE(xpv_test::WriteBytes(text, "keep me"));
    REQUIRE(xpv_test::WriteBytes(shaped, ComposeManifestDocument({}, ProcessorArchitecture::X86)));
    for (const std::wstring& key : {text, shaped, std::wstring(L"relgone.exe.manifest")}) {
        REQUIRE(WriteProfileValue({history.store.File(), L"Main"}, key, L"v"));
    }
    history.Open();
    CHECK(history.Lines() == std::vector<std::wstring>{L"Ours >> [00000]"});

    history.SelectAll();
    history.Untheme();
    CHECK_FALSE(IsManifestPresent(ours));
    CHECK(xpv_test::ReadBytes(text) == "keep me");
    CHECK(xpv_test::ReadBytes(shaped) == ComposeManifestDocument({}, ProcessorArchitecture::X86));
    // The planted lines stay in the file as they were.
    CHECK(history.Stored() == std::vector<ProfileEntry>{
                                  {text, L"v"}, {shaped, L"v"}, {L"relgone.exe.manifest", L"v"}});
    CHECK(history.messages.empty());
}

TEST_CASE("Unusual paths and names survive theming, loading and removal") {
    History history;
    const std::wstring unicode = history.Themed(L"\u03a6\u03ac\u03ba\u03b5\u03bb\u03bf\u03c2\\\u6587\u4ef6.exe", L"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae", L"\u8bf4\u660e");
    const std::wstring equals = history.Themed(L"a=b\\tool.exe", L"Eq", L"");
    const std::wstring folderLike = history.Themed(L"x.manifest\\app.exe", L"", L"");
    const std::wstring injected = history.Themed(L"evil.exe", L"Evil\r\n[Other]\r\nkey", L"d");
    history.Open();
    CHECK(history.Lines() == std::vector<std::wstring>{
                                 ExecutablePathOfManifest(folderLike) + L" [00002]",
                                 L"Eq >> [00001]",
                                 L"Evil  [Other]  key >> d [00003]",
                                 L"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae >> \u8bf4\u660e [00000]",
                             });
    CHECK(history.Paths()[1] == equals);
    CHECK(history.Stored().size() == 4);
    // Loading again finds the same four: none was mistaken for a stale entry.
    history.Open();
    CHECK(history.List().Count() == 4);

    history.SelectAll();
    history.Untheme();
    CHECK(history.List().Count() == 0);
    CHECK(history.Stored().empty());
    for (const std::wstring& manifest : {unicode, equals, folderLike, injected}) CHECK_FALSE(IsManifestPresent(manifest));
}

TEST_CASE("A history file an older version wrote in ANSI still reads, and takes Unicode paths") {
    History history;
    const std::wstring old = history.Themed(L"old.exe", L"Old", L"ansi");
    // The same entry as the older version left it: ANSI text, no byte-order mark.
    const std::wstring ansiLine = L"[Main]\r\n" + old + L"=Old >> written in ANSI\r\n";
    std::string ansi(ansiLine.size(), '\0');
    for (size_t i = 0; i < ansiLine.size(); ++i) ansi[i] = static_cast<char>(ansiLine[i]);
    REQUIRE(xpv_test::WriteBytes(history.store.File(), ansi));
    history.Open();
    CHECK(history.Lines() == std::vector<std::wstring>{L"Old >> written in ANSI [00000]"});

    const std::wstring greek = history.Themed(L"\u0395\u03bb\u03bb\u03ac\u03b4\u03b1\\app.exe", L"\u039d\u03ad\u03bf", L"");
    history.Open();
    CHECK(history.Lines() == std::vector<std::wstring>{L"Old >> written in ANSI [00000]",
                                                       L"\u039d\u03ad\u03bf >> [00001]"});
    CHECK(history.Paths()[1] == greek);
}
