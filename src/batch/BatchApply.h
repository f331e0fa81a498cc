#pragma once
#include <string>
#include <vector>

#include "batch/SearchTexts.h"
#include "theming/FailureReport.h"
#include "theming/ThemingService.h"

// The Turbo Vestrim action on the results the user ticked: themes the programs a search without
// manifests found, or removes the manifests of those a search for themed programs found. No
// window involved.

// What the action asks of the window that runs it. Every call comes from inside the action, on
// the thread that started it.
class ApplyHost {
public:
    virtual ~ApplyHost() = default;
    // Runs the window's queued messages: after every program.
    virtual void YieldToWindow() = 0;
    // True when the action must end before the next program: STOP was pressed, or the window
    // closes.
    virtual bool StopRequested() = 0;
    // The program at that index of the list is handled next.
    virtual void Starting(size_t index) = 0;
    // It was handled: done (themed, or no manifest left), or not, which the report tells.
    virtual void Finished(size_t index, bool done) = 0;
};

class BatchApply {
public:
    // The programs' own manifests come from the action's readings.
    BatchApply(ThemingService& theming, OwnManifestReadings& ownManifests)
        : theming_(theming), ownManifests_(ownManifests) {}

    // Handles the executables in the order given, each once, until the list ends or a stop is
    // asked for; a manifest that is gone already counts as removed. What failed is in the
    // report, with its reason.
    FailureReport Run(SearchMode searched, const std::vector<std::wstring>& executables, ApplyHost& host);

    // Writes the manifest of the executable with the details of its version resource (the
    // original file name as the application's name) and records it in the history; nothing is
    // written for an executable that is not there any more.
    ThemingService::ThemeOutcome ThemeWithVersionDetails(const std::wstring& executable);

private:
    ThemingService& theming_;
    OwnManifestReadings& ownManifests_;
};
