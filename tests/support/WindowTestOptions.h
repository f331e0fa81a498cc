#pragma once
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "support/doctest_wide.h"

namespace xpv_test {

// A window for a test: closing it does not end the test program, and a message meant for the
// user is recorded in `messages` (or, when none is given, fails the test) instead of waiting on
// a box nobody can close. A question fails the test and is answered Cancel, unless the test sets
// `questionAsked` itself.
inline MainForm::Options WindowTestOptions(const std::wstring& applicationDirectory = L"",
                                           std::vector<std::wstring>* messages = nullptr) {
    MainForm::Options options;
    options.endsProgram = false;
    options.applicationDirectory = applicationDirectory;
    options.messageShown = [messages](const std::wstring& text) {
        if (messages) {
            messages->push_back(text);
        } else {
            FAIL_CHECK("unexpected message to the user: " << ToUtf8(text));
        }
    };
    options.questionAsked = [](const std::wstring& question) {
        FAIL_CHECK("unexpected question to the user: " << ToUtf8(question));
        return ExternalManifestDecision::Answer::Cancel;
    };
    return options;
}

}  // namespace xpv_test
