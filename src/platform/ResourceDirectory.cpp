#include "platform/ResourceDirectory.h"

#include <algorithm>
#include <utility>

namespace {

constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kSubdirectoryBit = 0x80000000;
constexpr uint32_t kDirectoryHeaderSize = 16;
constexpr uint32_t kEntrySize = 8;
constexpr uint32_t kDataEntrySize = 16;

struct Entry {
    uint32_t name;
    uint32_t target;
};

// The resource section from its root directory on. Offsets are relative to the root, as the
// directory's own offsets are; nothing outside the section's raw data within the file is read.
class ResourceTree {
public:
    // The ids are followed from the root (type, then name) down to the languages below them.
    ResourceTree(const PeImage& image, PeImage::FileSpan section, std::vector<uint32_t> ids, LanguagesWanted wanted)
        : image_(image), section_(section), ids_(std::move(ids)), wanted_(wanted) {}

    std::optional<std::vector<ResourceData>> Find() const {
        std::vector<ResourceData> found;
        std::vector<uint32_t> path{0};
        if (!Collect(path, found)) return std::nullopt;
        return found;
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

    // `path` holds the directories from the root down to the one read, so that a directory that
    // contains itself is met as a loop. It grows by one for each of the ids only. False when
    // anything on the way is damaged. Each directory on the path is read once: the system's
    // lookup finds one entry per id, so a directory that names the id more than once is damage
    // too, not a fan of paths to follow (a few kilobytes of such entries would lead to billions).
    bool Collect(std::vector<uint32_t>& path, std::vector<ResourceData>& found) const {
        const auto entries = Entries(path.back());
        if (!entries) return false;
        const size_t level = path.size() - 1;
        if (level < ids_.size()) {
            const auto named = [&](const Entry& entry) { return entry.name == ids_[level]; };
            const auto match = std::find_if(entries->begin(), entries->end(), named);
            if (match == entries->end()) return true;
            if (std::find_if(match + 1, entries->end(), named) != entries->end()) return false;
            const uint32_t subdirectory = match->target & ~kSubdirectoryBit;
            if (!(match->target & kSubdirectoryBit) ||
                std::find(path.begin(), path.end(), subdirectory) != path.end()) {
                return false;
            }
            path.push_back(subdirectory);
            const bool sound = Collect(path, found);
            path.pop_back();
            return sound;
        }
        // Languages: the system may pick any of them.
        for (const Entry& entry : *entries) {
            std::vector<uint8_t> bytes;
            if ((entry.target & kSubdirectoryBit) || !ReadInside(entry.target, kDataEntrySize, bytes)) return false;
            found.push_back({ReadLittle32(bytes, 0), ReadLittle32(bytes, 4)});
            if (wanted_ == LanguagesWanted::First) break;
        }
        return true;
    }

    const PeImage& image_;
    PeImage::FileSpan section_;
    std::vector<uint32_t> ids_;
    LanguagesWanted wanted_;
};

}  // namespace

std::optional<std::vector<ResourceData>> FindResourceData(const PeImage& image, uint32_t type, uint32_t name,
                                                          LanguagesWanted wanted) {
    if (!image.HeadersComplete()) return std::nullopt;
    const auto directory = image.Directory(kResourceDirectoryIndex);
    if (!directory || directory->rva == 0) return std::vector<ResourceData>{};
    const auto root = image.SpanAt(directory->rva);
    if (!root) return std::nullopt;
    return ResourceTree(image, *root, {type, name}, wanted).Find();
}

std::optional<PeImage::FileSpan> ResourceDataSpan(const PeImage& image, ResourceData data) {
    const auto span = image.SpanAt(data.rva);
    if (!span || span->length < data.size) return std::nullopt;
    return PeImage::FileSpan{span->offset, data.size};
}
