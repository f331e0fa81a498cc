#include "cli/ProgramSearch.h"

#include "cli/StopRequest.h"

namespace {

class ConsoleSearchHost : public SearchHost {
public:
    ConsoleSearchHost(const std::function<void(const std::wstring&)>& found,
                      const std::function<void(const std::wstring&)>& passedThemed)
        : found_(found), passedThemed_(passedThemed) {}

    void YieldToWindow() override {}
    bool StopRequested() override { return ::StopRequested(); }
    void ShowFolder(const std::wstring&) override {}
    void ShowProgress(const SearchProgress&) override {}
    void AddResult(const std::wstring& executablePath) override { found_(executablePath); }
    void PassedThemed(const std::wstring& executablePath) override {
        if (passedThemed_) passedThemed_(executablePath);
    }

private:
    const std::function<void(const std::wstring&)>& found_;
    const std::function<void(const std::wstring&)>& passedThemed_;
};

}  // namespace

SearchOutcome SearchFolder(const std::wstring& folder, SearchMode mode, bool recurse,
                           const std::function<void(const std::wstring& executablePath)>& found,
                           const std::function<void(const std::wstring& executablePath)>& passedThemed) {
    ConsoleSearchHost host(found, passedThemed);
    SearchOptions options;
    options.startDirectory = folder;
    options.mode = mode;
    options.scanSubdirectories = recurse;
    return RunBatchSearch(options, host);
}

void ReportSearchEnd(const std::wstring& folder, const SearchOutcome& outcome, Streams& streams) {
    const int64_t skipped = outcome.progress.counters.skippedDirectories;
    if (skipped > 0) {
        // The search counts with the unreadable folders the names no Windows path can hold.
        streams.Complain(L"warning: " + std::to_wstring(skipped) + (skipped == 1 ? L" item" : L" items") +
                         L" under " + folder + L" skipped: folders that could not be read, or names that no "
                         L"Windows path can hold.");
    }
}
