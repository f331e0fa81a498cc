#pragma once
#include <optional>
#include <string>

// The manifest a program carries in its own image (resource type RT_MANIFEST, id 1, the first of
// its languages), which the side-by-side loader reads when the program starts.

// Manifests are a few kilobytes, though one that lists many files may be larger: no more than this
// of one is read, whatever size its resource claims.
inline constexpr size_t kMostEmbeddedManifestRead = 1024 * 1024;

// Its bytes, or its first kMostEmbeddedManifestRead bytes, read with every offset and size checked
// against the file; nothing when the file is no PE image or carries no such resource, or when the
// resource directory or the data is damaged (outside the file or its section). Paths of any
// length.
std::optional<std::string> ReadEmbeddedManifest(const std::wstring& executablePath);
