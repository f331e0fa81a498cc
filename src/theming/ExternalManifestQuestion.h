#pragma once
#include <string>
#include <vector>

#include "manifest/OwnManifestReadings.h"
#include "platform/WindowsVersion.h"
#include "theming/ExternalManifestPreference.h"

// Asked once before the chosen programs are themed. On Windows Vista and later a program that
// carries its own manifest without Common Controls 6 ignores the file written beside it, unless
// external manifests are preferred: the user is asked whether to prefer them. The window shows
// the question in one message box with Yes, No and Cancel; a console program asks it its own way.
class ExternalManifestQuestion {
public:
    enum class Answer { Yes, No, Cancel };

    // The programs' own manifests are read, into the action's readings, only where the answer
    // can matter: on Vista or later, with external manifests not preferred yet.
    ExternalManifestQuestion(const std::vector<std::wstring>& executablePaths, OwnManifestReadings& ownManifests,
                             WindowsVersion windows = CurrentWindowsVersion(), SideBySideKey key = {});

    // There is something to ask.
    bool Due() const { return !hiddenFiles_.empty(); }
    // The programs whose own manifest would hide the file beside them, in the order given.
    const std::vector<std::wstring>& Programs() const { return hiddenFiles_; }
    // The question, naming up to ten of those programs.
    std::wstring Text() const;

    struct Decision {
        bool apply = true;     // false only for Cancel: nothing is themed
        std::wstring message;  // shown before the programs are themed; empty when all went well
    };
    // Yes prefers external manifests (a failure to is told in the message) and themes the
    // programs; No themes them as they are; Cancel themes nothing.
    Decision Decide(Answer answer) const;

private:
    SideBySideKey key_;
    std::vector<std::wstring> hiddenFiles_;
};
