#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/ExternalManifestQuestion.h"
#include "theming/ExternalManifestDecision.h"
#include "theming/FailureReport.h"

// What a panel needs of the window it lives in, beyond making its controls: telling and asking
// the user, holding off a close while an action runs, and the Quick Menu strip that long actions
// disable.
class PanelHost {
public:
    virtual ~PanelHost() = default;

    // The Quick Menu strip, which long actions disable.
    virtual HWND QuickMenuStrip() const = 0;

    // Tells the user, once, every outcome of an action that was not plain; nothing when all were.
    void Report(const FailureReport& report) {
        std::wstring text = report.Text();
        if (report.Preference().kind == PreferenceOutcome::Kind::NotSet) text += L"\r\n\r\n" + PreferenceAdviceText();
        if (!text.empty()) ShowMessage(text);
    }
    virtual void ShowMessage(const std::wstring& text) = 0;

    // Before the programs are themed: where their own manifests would hide the file written
    // beside them, asks once whether Windows should prefer external manifests, and acts on the
    // answer; what came of it goes into the action's report. Nothing for Cancel: nothing is to be
    // themed. The own manifests read stay in the action's readings.
    std::optional<PreferenceOutcome> AgreeOnExternalManifests(const std::vector<std::wstring>& executablePaths,
                                                              OwnManifestReadings& ownManifests) {
        const ExternalManifestDecision decision(executablePaths, ownManifests);
        if (!decision.Due()) return PreferenceOutcome{};
        const ExternalManifestDecision::Decision decided =
            decision.Decide(Ask(ExternalManifestQuestionText(decision.Programs())));
        if (!decided.apply) return std::nullopt;
        return decided.preference;
    }
    // A question with Yes, No and Cancel; closing it answers Cancel.
    virtual ExternalManifestDecision::Answer Ask(const std::wstring& question) = 0;

    // True once the user asked to close the window while a long action ran: the action finishes
    // the item in hand and stops.
    virtual bool CloseRequested() const = 0;

    // Held by the handler of a button that runs over many items (and by anything that yields to
    // the message loop inside a handler): a close meanwhile waits until the last one ends.
    class LongAction {
    public:
        explicit LongAction(PanelHost& host) : host_(host) { host_.LongActionStarted(); }
        ~LongAction() { host_.LongActionEnded(); }
        LongAction(const LongAction&) = delete;
        LongAction& operator=(const LongAction&) = delete;

    private:
        PanelHost& host_;
    };

protected:
    virtual void LongActionStarted() = 0;
    virtual void LongActionEnded() = 0;
};
