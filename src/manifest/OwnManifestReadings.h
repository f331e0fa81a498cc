#pragma once
#include <map>
#include <string>

#include "manifest/OwnManifest.h"

// The own manifests of the programs one action handles, each read once however often it is asked
// for: the question before the action and the outcome of each program read the same file, which
// may take a while to read.
class OwnManifestReadings {
public:
    OwnManifest Of(const std::wstring& executablePath);

private:
    std::map<std::wstring, OwnManifest> read_;
};
