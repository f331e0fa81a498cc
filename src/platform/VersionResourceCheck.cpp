#include "platform/VersionResourceCheck.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <vector>

namespace {

constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kSubdirectoryBit = 0x80000000;
constexpr uint32_t kDirectoryHeaderSize = 16;
constexpr uint32_t kEntrySize = 8;
constexpr uint32_t kDataEntrySize = 16;

// The ids looked up on the levels above the languages: type RT_VERSION, then name 1.
constexpr uint32_t kVersionPath[] = {16, 1};

// The block starts with wLength, wValueLength, wType and its key with the NUL.
constexpr wchar_t kBlockKey[] = L"VS_VERSION_INFO";
constexpr uint32_t kBlockHeadSize = 6 + sizeof(kBlockKey);
// The block's own length field has 16 bits.
constexpr uint32_t kLongestBlock = 0xFFFF;
// Text blocks have type 1, binary ones 0; a printable first byte there makes the system read the
// block as one of the 16-bit format.
constexpr uint16_t kLargestBlockType = 1;

struct Entry {
    uint32_t name;
    uint32_t target;
};

// The resource section from its root directory on. Offsets are relative to the root, as the
// directory's own offsets are; nothing outside the section's raw data within the file is read.
class ResourceTree {
public:
    ResourceTree(const PeImage& image, PeImage::FileSpan section) : image_(image), section_(section) {}

    VersionResourceState InspectVersions() const {
        std::vector<uint32_t> path{0};
        return InspectDirectory(path);
    }

private:
    bool ReadInside(uint64_t at, uint32_t size, std::vector<uint8_t>& bytes) const {
        return at <= section_.length && size <= section_.length - at &&
               image_.Read(section_.offset + at, size, bytes);
    }

    std::optional<std::vector<Entry>> Entries(uint32_t directory) const {
        std::vector<uint8_t> bytes;
        if (!ReadInside(directory, kDirectoryHeaderSize, bytes)) return std::nullopt;
        const uint32_t count = uint32_t{ReadLittle16(bytes, 12)} + ReadLittle16(bytes, 14);
        if (!ReadInside(uint64_t{directory} + kDirectoryHeaderSize, count * kEntrySize, bytes)) return std::nullopt;
        std::vector<Entry> entries;
        for (uint32_t index = 0; index < count; ++index) {
            entries.push_back({ReadLittle32(bytes, index * kEntrySize), ReadLittle32(bytes, index * kEntrySize + 4)});
        }
        return entries;
    }

    // `path` holds the directories from the root down to the one inspected, so that a directory
    // that contains itself is met as a loop. It grows by one for each id of kVersionPath only.
    VersionResourceState InspectDirectory(std::vector<uint32_t>& path) const {
        const auto entries = Entries(path.back());
        if (!entries) return VersionResourceState::Damaged;
        const size_t level = path.size() - 1;
        VersionResourceState state = VersionResourceState::Missing;
        for (const Entry& entry : *entries) {
            VersionResourceState found;
            if (level < std::size(kVersionPath)) {
                if (entry.name != kVersionPath[level]) continue;
                const uint32_t subdirectory = entry.target & ~kSubdirectoryBit;
                if (!(entry.target & kSubdirectoryBit) ||
                    std::find(path.begin(), path.end(), subdirectory) != path.end()) {
                    return VersionResourceState::Damaged;
                }
                path.push_back(subdirectory);
                found = InspectDirectory(path);
                path.pop_back();
            } else {
                // Languages: the system may pick any of them.
                if (entry.target & kSubdirectoryBit) return VersionResourceState::Damaged;
                found = InspectData(entry.target);
            }
            if (found == VersionResourceState::Damaged) return found;
            if (found == VersionResourceState::Sound) state = found;
        }
        return state;
    }

    VersionResourceState InspectData(uint32_t dataEntry) const {
        std::vector<uint8_t> bytes;
        if (!ReadInside(dataEntry, kDataEntrySize, bytes)) return VersionResourceState::Damaged;
        const uint32_t rva = ReadLittle32(bytes, 0);
        const uint32_t size = ReadLittle32(bytes, 4);
        const auto data = image_.SpanAt(rva);
        if (size < kBlockHeadSize || size > kLongestBlock || !data || data->length < size ||
            !image_.Read(data->offset, kBlockHeadSize, bytes) || ReadLittle16(bytes, 4) > kLargestBlockType) {
            return VersionResourceState::Damaged;
        }
        for (size_t index = 0; index < std::size(kBlockKey); ++index) {
            if (ReadLittle16(bytes, 6 + 2 * index) != kBlockKey[index]) return VersionResourceState::Damaged;
        }
        return VersionResourceState::Sound;
    }

    const PeImage& image_;
    PeImage::FileSpan section_;
};

}  // namespace

VersionResourceState InspectVersionResource(const PeImage& image) {
    if (!image.HeadersComplete()) return VersionResourceState::Damaged;
    const auto directory = image.Directory(kResourceDirectoryIndex);
    if (!directory || directory->rva == 0) return VersionResourceState::Missing;
    const auto root = image.SpanAt(directory->rva);
    if (!root) return VersionResourceState::Damaged;
    return ResourceTree(image, *root).InspectVersions();
}

bool HasSoundVersionResource(const std::wstring& path) {
    const PeImage image(path);
    return image.IsPeImage() && InspectVersionResource(image) == VersionResourceState::Sound;
}
