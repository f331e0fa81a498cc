#pragma once
#include <optional>
#include <string>

// The manifest a program carries in its own image (resource type RT_MANIFEST, id 1, the first of
// its languages), which the side-by-side loader reads when the program starts.

// Manifests are a few kilobytes; a larger resource is taken for damage, not read.
inline constexpr size_t kLargestEmbeddedManifest = 64 * 1024;

// Its bytes, read with every offset and size checked against the file; nothing when the file is
// no PE image or carries no such resource, when the resource directory or the data is damaged
// (outside the file or its section), or when the data is larger than kLargestEmbeddedManifest.
// Paths of any length.
std::optional<std::string> ReadEmbeddedManifest(const std::wstring& executablePath);
