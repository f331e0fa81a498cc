#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/PeImage.h"

// Where one language's data of a resource lies, as its data entry gives it: a relative virtual
// address and a size, neither checked against the file yet.
struct ResourceData {
    uint32_t rva = 0;
    uint32_t size = 0;
};

enum class LanguagesWanted { First, All };

// The data of every language (or of the first only) of the resource with this numeric type and
// name, in directory order, found along the path the system's lookup takes: type, then name, then
// languages. Empty when the image has no resource directory or no such resource; nothing when the
// directories on that path are damaged: outside the file or outside their section, cut short, a
// directory that contains itself or names the type or name more than once, a language that is a
// directory, or headers that could not be read at all.
std::optional<std::vector<ResourceData>> FindResourceData(const PeImage& image, uint32_t type, uint32_t name,
                                                          LanguagesWanted wanted = LanguagesWanted::All);

// The data's bytes in the file when all of them lie within one section's raw data there.
std::optional<PeImage::FileSpan> ResourceDataSpan(const PeImage& image, ResourceData data);
