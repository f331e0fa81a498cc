#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "batch/batch_programs.h"
#include "history/HistoryStore.h"
#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFile.h"
#include "manifest/ManifestForExecutable.h"
#include "platform/UniqueHandle.h"
#include "theming/ThemingAction.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using batch_test::AddProgram;
using xpv_test::TempFolder;

namespace {

// Writes down what the action tells the window, as "+0" (starting the first), "done 0" or
// "failed 0"; it asks for a stop once `stopAfter` programs are finished, leaves alone the programs
// at `skipped`, and gives the details of `given`.
class RecordingHost : public ActionHost {
public:
    explicit RecordingHost(size_t stopAfter = SIZE_MAX) : stopAfter_(stopAfter) {}

    std::vector<std::string> events;
    std::vector<size_t> skipped;
    std::optional<ManifestDetails> given;

    bool StopRequested() override { return finished_ >= stopAfter_; }
    // Built in steps: GCC 12 warns wrongly about "+" + std::to_string(...).
    bool Starting(size_t index) override {
        events.push_back(std::string("+").append(std::to_string(index)));
        return std::find(skipped.begin(), skipped.end(), index) == skipped.end();
    }
    std::optional<ManifestDetails> GivenDetails(size_t) override { return given; }
    void Finished(size_t index, const ProgramOutcome& outcome) override {
        ++finished_;
        events.push_back((outcome.Done() ? "done " : "failed ") + std::to_string(index));
    }

private:
    size_t stopAfter_;
    size_t finished_ = 0;
};

struct Apply {
    TempFolder appFolder{L"xpv-apply-app"};
    TempFolder programs{L"xpv-apply"};
    HistoryStore history{appFolder / L"history.db"};
    ThemingService theming{history};

    FailureReport Run(const ActionRequest& request, const std::vector<std::wstring>& executables, ActionHost& host) {
        ThemingRun run(theming);
        return RunThemingAction(run, request, executables, host);
    }
    std::vector<std::wstring> Recorded() {
        std::vector<std::wstring> recorded;
        const std::optional<std::vector<HistoryStore::Entry>> entries = history.ReadAll();
        REQUIRE(entries);
        for (const HistoryStore::Entry& entry : *entries) recorded.push_back(entry.manifestPath);
        return recorded;
    }
};

const ActionRequest kThemeByOriginalName{.details = VersionDetails{ApplicationNaming::OriginalFileName}};
const ActionRequest kUntheme{.kind = ActionRequest::Kind::Untheme};

using Events = std::vector<std::string>;

}  // namespace

TEST_CASE("Theming goes through the programs in the order given, each with the details of the caller's rule") {
    Apply fixture;
    const std::wstring alpha = AddProgram(fixture.programs, L"alpha", L"a.exe");
    const std::wstring gone = fixture.programs / L"gone.exe";
    const std::wstring plain = AddProgram(fixture.programs, L"plain", L"c.exe");
    const std::wstring blocked = AddProgram(fixture.programs, L"alpha", L"d.exe");
    REQUIRE(CreateDirectoryW(ManifestPathFor(blocked).c_str(), nullptr));

    RecordingHost host;
    const FailureReport report = fixture.Run(kThemeByOriginalName, {alpha, gone, plain, blocked}, host);
    CHECK(host.events == Events{"+0", "done 0", "+1", "failed 1", "+2", "done 2", "+3", "failed 3"});
    // The application name is the original file name of the version resource, which the
    // fixtures leave out.
    CHECK(ReadManifestDetailsForExecutable(alpha) ==
          ManifestDetails{L"Alpha Works", L"Alpha Editor", L"", L"Edits alpha files"});
    CHECK(IsManifestPresent(ManifestPathFor(plain)));
    CHECK_FALSE(IsManifestPresent(ManifestPathFor(gone)));
    // Only what was written is recorded.
    CHECK(fixture.Recorded() == std::vector<std::wstring>{ManifestPathFor(alpha), ManifestPathFor(plain)});
    // Told once, at the end, each with its reason.
    const std::wstring text = report.Text();
    CHECK(text.find(L"could not be themed") != std::wstring::npos);
    CHECK(text.find(gone + L" - not found") != std::wstring::npos);
    CHECK(text.find(blocked + L" - a folder or other item") != std::wstring::npos);
    CHECK(text.find(alpha) == std::wstring::npos);
}

TEST_CASE("Un-theming removes the manifests; one that is gone already counts as removed, one held open stays") {
    Apply fixture;
    const std::wstring own = AddProgram(fixture.programs, L"alpha", L"a.exe");
    const std::wstring gone = AddProgram(fixture.programs, L"alpha", L"b.exe");
    const std::wstring held = AddProgram(fixture.programs, L"alpha", L"c.exe");
    for (const std::wstring& program : {own, held}) {
        REQUIRE(WriteManifestFile(ManifestPathFor(program), ComposeManifestDocument({}, ProcessorArchitecture::X86)));
    }
    const UniqueHandle open(
        CreateFileW(ManifestPathFor(held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    REQUIRE(open);

    RecordingHost host;
    const FailureReport report = fixture.Run(kUntheme, {own, gone, held}, host);
    CHECK(host.events == Events{"+0", "done 0", "+1", "done 1", "+2", "failed 2"});
    CHECK_FALSE(IsManifestPresent(ManifestPathFor(own)));
    CHECK(IsManifestPresent(ManifestPathFor(held)));
    const std::wstring text = report.Text();
    CHECK(text.find(L"could not be removed") != std::wstring::npos);
    CHECK(text.find(held + L" - in use by another program") != std::wstring::npos);
    CHECK(text.find(gone) == std::wstring::npos);
}

TEST_CASE("A stop asked for ends the action before the next program") {
    for (const size_t stopAfter : {size_t{0}, size_t{1}, size_t{2}}) {
        CAPTURE(stopAfter);
        Apply fixture;
        std::vector<std::wstring> programs;
        for (const wchar_t* name : {L"1.exe", L"2.exe", L"3.exe"}) programs.push_back(AddProgram(fixture.programs, L"plain", name));
        RecordingHost host(stopAfter);
        CHECK(fixture.Run(kThemeByOriginalName, programs, host).Empty());
        CHECK(host.events.size() == 2 * stopAfter);
        for (size_t i = 0; i < programs.size(); ++i) CHECK(IsManifestPresent(ManifestPathFor(programs[i])) == (i < stopAfter));
    }
}

TEST_CASE("A manifest written where the history cannot record it is done, and told once") {
    Apply fixture;
    REQUIRE(CreateDirectoryW((fixture.appFolder / L"history.db").c_str(), nullptr));
    const std::wstring program = AddProgram(fixture.programs, L"alpha", L"a.exe");
    RecordingHost host;
    const FailureReport report = fixture.Run(kThemeByOriginalName, {program}, host);
    CHECK(host.events == Events{"+0", "done 0"});
    CHECK(IsManifestPresent(ManifestPathFor(program)));
    CHECK(report.Text().find(L"The history file could not record") != std::wstring::npos);
    CHECK(report.Text().find(L"could not be themed") == std::wstring::npos);
}

TEST_CASE("Each caller's naming rule, the details a host gives, and a program the host leaves alone") {
    const ManifestDetails edited{L"Edited Co", L"Edited Product", L"edited.exe", L"Edited description"};
    const struct {
        const char* name;
        DetailsChoice rule;
        bool given;
        ManifestDetails written;
    } cases[] = {
        {"the version resource's original file name", VersionDetails{ApplicationNaming::OriginalFileName}, false,
         {L"Alpha Works", L"Alpha Editor", L"", L"Edits alpha files"}},
        {"the file name", VersionDetails{ApplicationNaming::FileName}, false,
         {L"Alpha Works", L"Alpha Editor", L"a.exe", L"Edits alpha files"}},
        {"the file name, an option replacing the product",
         VersionDetails{ApplicationNaming::FileName, {.product = L"Given"}}, false,
         {L"Alpha Works", L"Given", L"a.exe", L"Edits alpha files"}},
        {"the details the host gives", VersionDetails{}, true, edited},
    };
    for (const auto& c : cases) {
        CAPTURE(c.name);
        Apply fixture;
        const std::wstring alpha = AddProgram(fixture.programs, L"alpha", L"a.exe");
        const std::wstring left = AddProgram(fixture.programs, L"alpha", L"b.exe");
        RecordingHost host;
        host.skipped = {1};
        if (c.given) host.given = edited;
        CHECK(fixture.Run({.details = c.rule}, {alpha, left}, host).Empty());
        CHECK(host.events == Events{"+0", "done 0", "+1"});
        CHECK(ReadManifestDetailsForExecutable(alpha) == c.written);
        CHECK_FALSE(IsManifestPresent(ManifestPathFor(left)));
    }
}

TEST_CASE("Un-theming drops the history entries when asked to, in one change at the end") {
    Apply fixture;
    const std::wstring kept = AddProgram(fixture.programs, L"alpha", L"a.exe");
    const std::wstring forgotten = AddProgram(fixture.programs, L"alpha", L"b.exe");
    RecordingHost themeHost;
    REQUIRE(fixture.Run(kThemeByOriginalName, {kept, forgotten}, themeHost).Empty());
    REQUIRE(fixture.Recorded().size() == 2);

    RecordingHost keepHost;
    CHECK(fixture.Run(kUntheme, {kept}, keepHost).Empty());
    CHECK(fixture.Recorded() == std::vector<std::wstring>{ManifestPathFor(kept), ManifestPathFor(forgotten)});

    RecordingHost forgetHost;
    CHECK(fixture.Run({.kind = ActionRequest::Kind::Untheme, .history = HistoryUpdate::Forget}, {kept, forgotten},
                      forgetHost)
              .Empty());
    CHECK(forgetHost.events == Events{"+0", "done 0", "+1", "done 1"});
    CHECK(fixture.Recorded().empty());

    SUBCASE("an entry the history cannot drop is told once") {
        const std::wstring again = AddProgram(fixture.programs, L"alpha", L"c.exe");
        RecordingHost host;
        REQUIRE(fixture.Run(kThemeByOriginalName, {again}, host).Empty());
        // Read-only: nothing is changed in it.
        const std::wstring file = fixture.appFolder / L"history.db";
        REQUIRE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
        RecordingHost removal;
        const FailureReport report =
            fixture.Run({.kind = ActionRequest::Kind::Untheme, .history = HistoryUpdate::Forget}, {again}, removal);
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        CHECK(report.Text().find(L"The history file could not be updated") != std::wstring::npos);
        CHECK(fixture.Recorded() == std::vector<std::wstring>{ManifestPathFor(again)});
    }
}
