#pragma once
#include <string>

#include "platform/PeImage.h"

// The version resource of an image as its resource directory describes it, checked along the
// path the system's lookup takes: type RT_VERSION, name 1, every language under it.
enum class VersionResourceState {
    Missing,  // no resource directory, or no version resource in it
    // A directory, entry or data that lies outside the file or outside its section, a directory
    // that contains itself, data longer than a version block's 16-bit length, or data that is
    // no version block of the 32-bit format.
    Damaged,
    Sound,  // every version resource is a version block within a section's raw data in the file
};

VersionResourceState InspectVersionResource(const PeImage& image);

// The system's version functions trust the resource directory and the lengths in the block:
// data past the end of the file makes them fault, a huge size makes them ask for gigabytes, a
// block of the 16-bit format makes them write past the caller's buffer. Only a PE image whose
// version resource is sound may be handed to them; everything else has no version information
// that can be read safely.
bool HasSoundVersionResource(const std::wstring& path);
