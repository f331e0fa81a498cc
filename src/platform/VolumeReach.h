#pragma once
#include <string>
#include <string_view>

// The root of a path's volume: "C:\" for a drive path, "\\server\share\" for a network path;
// empty when the path names neither.
std::wstring VolumeRootOf(std::wstring_view path);

// Whether the volume a path lies on can be reached now: a drive that exists and holds a medium,
// a share that answers. No system error dialog is raised for a drive without a medium.
bool IsVolumeReachable(std::wstring_view path);
