#include <windows.h>

#include <string>
#include <vector>

#include "batch/BatchApply.h"
#include "batch/batch_programs.h"
#include "history/HistoryStore.h"
#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFile.h"
#include "manifest/ManifestForExecutable.h"
#include "platform/UniqueHandle.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using batch_test::AddProgram;
using xpv_test::TempFolder;

namespace {

// Writes down what the action tells the window, as "+0" (starting the first), "done 0" or
// "failed 0"; it asks for a stop once `stopAfter` programs are finished.
class RecordingHost : public ApplyHost {
public:
    explicit RecordingHost(size_t stopAfter = SIZE_MAX) : stopAfter_(stopAfter) {}

    std::vector<std::string> events;
    int yields = 0;

    void YieldToWindow() override { ++yields; }
    bool StopRequested() override { return finished_ >= stopAfter_; }
    // Built in steps: GCC 12 warns wrongly about "+" + std::to_string(...).
    void Starting(size_t index) override { events.push_back(std::string("+").append(std::to_string(index))); }
    void Finished(size_t index, bool done) override {
        ++finished_;
        events.push_back((done ? "done " : "failed ") + std::to_string(index));
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
    OwnManifestReadings ownManifests;
    BatchApply apply{theming, ownManifests};
};

using Events = std::vector<std::string>;

}  // namespace

TEST_CASE("Theming goes through the programs in the order given, each with its version details") {
    Apply fixture;
    const std::wstring alpha = AddProgram(fixture.programs, L"alpha", L"a.exe");
    const std::wstring gone = fixture.programs / L"gone.exe";
    const std::wstring plain = AddProgram(fixture.programs, L"plain", L"c.exe");
    const std::wstring blocked = AddProgram(fixture.programs, L"alpha", L"d.exe");
    REQUIRE(CreateDirectoryW(ManifestPathFor(blocked).c_str(), nullptr));

    RecordingHost host;
    const FailureReport report = fixture.apply.Run(SearchMode::Unthemed, {alpha, gone, plain, blocked}, host);
    CHECK(host.events == Events{"+0", "done 0", "+1", "failed 1", "+2", "done 2", "+3", "failed 3"});
    CHECK(host.yields == 4);
    // The application name is the original file name of the version resource, which the
    // fixtures leave out.
    CHECK(ReadManifestDetailsForExecutable(alpha) ==
          ManifestDetails{L"Alpha Works", L"Alpha Editor", L"", L"Edits alpha files"});
    CHECK(IsManifestPresent(ManifestPathFor(plain)));
    CHECK_FALSE(IsManifestPresent(ManifestPathFor(gone)));
    // Only what was written is recorded.
    std::vector<std::wstring> recorded;
    for (const HistoryStore::Entry& entry : fixture.history.List().entries) recorded.push_back(entry.manifestPath);
    CHECK(recorded == std::vector<std::wstring>{ManifestPathFor(alpha), ManifestPathFor(plain)});
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
    const FailureReport report = fixture.apply.Run(SearchMode::Themed, {own, gone, held}, host);
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
        CHECK(fixture.apply.Run(SearchMode::Unthemed, programs, host).Empty());
        CHECK(host.events.size() == 2 * stopAfter);
        for (size_t i = 0; i < programs.size(); ++i) CHECK(IsManifestPresent(ManifestPathFor(programs[i])) == (i < stopAfter));
    }
}

TEST_CASE("A manifest written where the history cannot record it is done, and told once") {
    Apply fixture;
    REQUIRE(CreateDirectoryW((fixture.appFolder / L"history.db").c_str(), nullptr));
    const std::wstring program = AddProgram(fixture.programs, L"alpha", L"a.exe");
    RecordingHost host;
    const FailureReport report = fixture.apply.Run(SearchMode::Unthemed, {program}, host);
    CHECK(host.events == Events{"+0", "done 0"});
    CHECK(IsManifestPresent(ManifestPathFor(program)));
    CHECK(report.Text().find(L"The history file could not record") != std::wstring::npos);
    CHECK(report.Text().find(L"could not be themed") == std::wstring::npos);
}
