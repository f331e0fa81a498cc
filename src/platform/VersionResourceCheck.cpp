#include "platform/VersionResourceCheck.h"

#include <cstdint>
#include <iterator>
#include <vector>

#include "platform/ResourceDirectory.h"

namespace {

constexpr uint32_t kVersionType = 16;  // RT_VERSION
constexpr uint32_t kVersionName = 1;

// The block starts with wLength, wValueLength, wType and its key with the NUL.
constexpr wchar_t kBlockKey[] = L"VS_VERSION_INFO";
constexpr uint32_t kBlockHeadSize = 6 + sizeof(kBlockKey);
// The block's own length field has 16 bits.
constexpr uint32_t kLongestBlock = 0xFFFF;
// Text blocks have type 1, binary ones 0; a printable first byte there makes the system read the
// block as one of the 16-bit format.
constexpr uint16_t kLargestBlockType = 1;

bool IsSoundBlock(const PeImage& image, ResourceData data) {
    const auto span = ResourceDataSpan(image, data);
    std::vector<uint8_t> bytes;
    if (data.size < kBlockHeadSize || data.size > kLongestBlock || !span ||
        !image.Read(span->offset, kBlockHeadSize, bytes) || ReadLittle16(bytes, 4) > kLargestBlockType) {
        return false;
    }
    for (size_t index = 0; index < std::size(kBlockKey); ++index) {
        if (ReadLittle16(bytes, 6 + 2 * index) != kBlockKey[index]) return false;
    }
    return true;
}

}  // namespace

VersionResourceState InspectVersionResource(const PeImage& image) {
    const auto found = FindResourceData(image, kVersionType, kVersionName);
    if (!found) return VersionResourceState::Damaged;
    for (const ResourceData& data : *found) {
        // The system may pick any of the languages.
        if (!IsSoundBlock(image, data)) return VersionResourceState::Damaged;
    }
    return found->empty() ? VersionResourceState::Missing : VersionResourceState::Sound;
}

bool HasSoundVersionResource(const std::wstring& path) {
    const PeImage image(path);
    return image.IsPeImage() && InspectVersionResource(image) == VersionResourceState::Sound;
}
