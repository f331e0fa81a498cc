#pragma once
#include <optional>
#include <string>

// The form of a full path that file functions accept at any length: "\\?\C:\..." or
// "\\?\UNC\server\share\..." once the plain form would be too long for them, the path itself
// while it is short enough (or is no full drive or network path). Only calls take this form:
// texts shown or stored keep the plain path.
std::wstring PathForFileCalls(const std::wstring& path);

// The full path the platform makes of a relative or full one ("." and ".." resolved, the current
// folder put in front); nothing when it cannot make one.
std::optional<std::wstring> FullPathName(const std::wstring& path);
