#pragma once
#include <optional>
#include <string>
#include <vector>

#include "theming/FailureReport.h"
#include "theming/ThemingService.h"

// The loop behind every panel's action over the programs the user ticked: each program in turn,
// themed or un-themed through the action's run, until the list ends or a stop is asked for. No
// window involved: the panel follows it through its host.

// What the action asks of the window that runs it. Every call comes from inside the action, on
// the thread that started it.
class ActionHost {
public:
    virtual ~ActionHost() = default;
    // True when the action must end before the next program: STOP was pressed, or the window
    // closes.
    virtual bool StopRequested() = 0;
    // The program at that index of the list is next; false leaves it alone (its line went).
    virtual bool Starting(size_t index) = 0;
    // The details to theme it with in place of the action's rule (the boxes the user edited).
    virtual std::optional<ManifestDetails> GivenDetails(size_t /*index*/) { return std::nullopt; }
    // It was handled: done (themed, or no manifest left), or not, which the report tells.
    virtual void Finished(size_t index, const ProgramOutcome& outcome) = 0;
};

struct ActionRequest {
    enum class Kind { Theme, Untheme } kind = Kind::Theme;
    // Theming: where the details come from unless the host gives them.
    DetailsChoice details = VersionDetails{};
    // Un-theming: whether the history entry goes too.
    HistoryUpdate history = HistoryUpdate::Keep;
};

// Handles the executables in the order given, each once; the report tells every outcome that is
// not plain, and what the history could not keep.
FailureReport RunThemingAction(ThemingRun& run, const ActionRequest& request,
                               const std::vector<std::wstring>& executables, ActionHost& host);
