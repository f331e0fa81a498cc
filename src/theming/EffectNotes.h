#pragma once
#include <string>
#include <vector>

// What the end of an action tells besides its failures: programs whose own manifest already gave
// them the look, and programs whose change Windows shows only after a restart.
class EffectNotes {
public:
    void ThemedByOwnManifest(const std::wstring& executablePath) { ownManifest_.push_back(executablePath); }
    void LoaderMayRemember(const std::wstring& executablePath) { loaderMayRemember_.push_back(executablePath); }
    bool Empty() const { return ownManifest_.empty() && loaderMayRemember_.empty(); }

    // Its paragraphs, separated by an empty line; empty when there is nothing to tell.
    std::wstring Text() const;

private:
    std::vector<std::wstring> ownManifest_;
    std::vector<std::wstring> loaderMayRemember_;
};
