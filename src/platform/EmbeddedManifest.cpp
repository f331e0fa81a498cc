#include "platform/EmbeddedManifest.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/PeImage.h"
#include "platform/ResourceDirectory.h"

namespace {

constexpr uint32_t kManifestType = 24;  // RT_MANIFEST
// The id the loader reads for a program (CREATEPROCESS_MANIFEST_RESOURCE_ID).
constexpr uint32_t kProgramManifestName = 1;

}  // namespace

std::optional<std::string> ReadEmbeddedManifest(const std::wstring& executablePath) {
    const PeImage image(executablePath);
    if (!image.IsPeImage()) return std::nullopt;
    const auto found = FindResourceData(image, kManifestType, kProgramManifestName, LanguagesWanted::First);
    if (!found || found->empty()) return std::nullopt;
    const auto span = ResourceDataSpan(image, found->front());
    std::vector<uint8_t> bytes;
    const auto size = static_cast<uint32_t>(std::min<size_t>(found->front().size, kMostEmbeddedManifestRead));
    if (!span || !image.Read(span->offset, size, bytes)) return std::nullopt;
    return std::string(bytes.begin(), bytes.end());
}
