#pragma once
#include <string>
#include <vector>

// The presence test for many manifests at once, as a history load needs it: for each path,
// whether a file (any attributes, never a folder) of that name exists. Folders that hold several
// of the manifests are listed once instead of being asked once per manifest, which matters where
// a missing name costs a search of its whole folder.
std::vector<bool> PresentManifests(const std::vector<std::wstring>& manifestPaths);
