#pragma once
#include <string>
#include <vector>

#include "manifest/OwnManifestReadings.h"
#include "platform/WindowsVersion.h"
#include "theming/ExternalManifestPreference.h"
#include "theming/ProgramOutcome.h"

// Settled once before the chosen programs are themed. On Windows Vista and later a program that
// carries its own manifest without Common Controls 6 ignores the file written beside it, unless
// external manifests are preferred: the user decides whether to prefer them (the window asks,
// the console program takes its option).
class ExternalManifestDecision {
public:
    enum class Answer { Yes, No, Cancel };

    // The programs' own manifests are read, into the action's readings, only where the answer
    // can matter: on Vista or later, with external manifests not preferred yet.
    ExternalManifestDecision(const std::vector<std::wstring>& executablePaths, OwnManifestReadings& ownManifests,
                             WindowsVersion windows = CurrentWindowsVersion(), SideBySideKey key = {});

    // There is something to decide.
    bool Due() const { return !hiddenFiles_.empty(); }
    // Nothing is to decide for any program: Windows XP, or external manifests preferred already.
    bool NeverDue() const { return neverDue_; }
    // The programs whose own manifest would hide the file beside them, in the order given.
    const std::vector<std::wstring>& Programs() const { return hiddenFiles_; }

    struct Decision {
        bool apply = true;  // false only for Cancel: nothing is themed
        PreferenceOutcome preference;
    };
    // Yes prefers external manifests and themes the programs (a failure to set the value is in
    // the outcome); No themes them as they are; Cancel themes nothing.
    Decision Decide(Answer answer) const;

private:
    SideBySideKey key_;
    bool neverDue_ = false;
    std::vector<std::wstring> hiddenFiles_;
};
