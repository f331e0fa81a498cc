#pragma once
#include <string>

// What a list row's tooltip tells of the program's own manifest, read when the tooltip is asked
// for: empty for a program without one.
std::wstring OwnManifestTooltip(const std::wstring& executablePath);
