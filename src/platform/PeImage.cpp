#include "platform/PeImage.h"

#include <windows.h>

#include <algorithm>

#include "platform/LongPath.h"

namespace {

constexpr uint32_t kDosHeaderSize = 64;
constexpr uint32_t kNewHeaderPointer = 0x3C;
constexpr uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr uint32_t kFileHeaderEnd = 24;        // signature and file header
constexpr uint32_t kSectionHeaderSize = 40;
// The loader of Windows XP refuses images with more sections.
constexpr uint32_t kMostSections = 96;

constexpr uint16_t kOptionalHeader32Magic = 0x10B;
constexpr uint16_t kOptionalHeader64Magic = 0x20B;

}  // namespace

uint16_t ReadLittle16(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

uint32_t ReadLittle32(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint32_t>(ReadLittle16(bytes, at)) |
           (static_cast<uint32_t>(ReadLittle16(bytes, at + 2)) << 16);
}

PeImage::PeImage(const std::wstring& path)
    : file_(CreateFileW(PathForFileCalls(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    LARGE_INTEGER size{};
    if (!file_ || !GetFileSizeEx(file_.get(), &size)) return;
    fileSize_ = static_cast<uint64_t>(size.QuadPart);
    ReadHeaders();
}

bool PeImage::Read(uint64_t offset, uint32_t size, std::vector<uint8_t>& bytes) const {
    if (!file_ || offset > fileSize_ || size > fileSize_ - offset) return false;
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file_.get(), position, nullptr, FILE_BEGIN)) return false;
    bytes.assign(size, 0);
    DWORD read = 0;
    return ReadFile(file_.get(), bytes.data(), size, &read, nullptr) && read == size;
}

void PeImage::ReadHeaders() {
    std::vector<uint8_t> dosHeader;
    if (!Read(0, kDosHeaderSize, dosHeader) || dosHeader[0] != 'M' || dosHeader[1] != 'Z') return;
    const uint64_t ntHeaders = ReadLittle32(dosHeader, kNewHeaderPointer);
    std::vector<uint8_t> fileHeader;
    if (!Read(ntHeaders, kFileHeaderEnd, fileHeader) || ReadLittle32(fileHeader, 0) != kPeSignature) return;
    isPeImage_ = true;
    machine_ = ReadLittle16(fileHeader, 4);
    const uint16_t sectionCount = ReadLittle16(fileHeader, 6);
    const uint16_t optionalHeaderSize = ReadLittle16(fileHeader, 20);

    const uint64_t optionalHeader = ntHeaders + kFileHeaderEnd;
    if (!Read(optionalHeader, optionalHeaderSize, optionalHeader_)) optionalHeader_.clear();

    std::vector<uint8_t> table;
    if (sectionCount > kMostSections ||
        !Read(optionalHeader + optionalHeaderSize, sectionCount * kSectionHeaderSize, table)) {
        return;
    }
    for (uint32_t index = 0; index < sectionCount; ++index) {
        const size_t header = index * kSectionHeaderSize;
        const uint32_t virtualSize = ReadLittle32(table, header + 8);
        const uint32_t rawSize = ReadLittle32(table, header + 16);
        // Raw data beyond the virtual size is not mapped; a virtual size of 0 maps all of it.
        const uint32_t rawLength = virtualSize == 0 ? rawSize : std::min(virtualSize, rawSize);
        sections_.push_back({ReadLittle32(table, header + 12), rawLength, ReadLittle32(table, header + 20)});
    }
    sectionsRead_ = true;
}

bool PeImage::HasProgramHeader() const {
    const uint16_t magic = OptionalHeaderMagic();
    return isPeImage_ && (magic == kOptionalHeader32Magic || magic == kOptionalHeader64Magic);
}

uint16_t PeImage::OptionalHeaderMagic() const {
    return optionalHeader_.size() >= 2 ? ReadLittle16(optionalHeader_, 0) : 0;
}

std::optional<PeImage::DataDirectory> PeImage::Directory(uint32_t index) const {
    size_t countField;
    size_t table;
    switch (OptionalHeaderMagic()) {
    case kOptionalHeader32Magic: countField = 92, table = 96; break;
    case kOptionalHeader64Magic: countField = 108, table = 112; break;
    default: return std::nullopt;
    }
    const size_t entry = table + size_t{index} * 8;
    if (entry + 8 > optionalHeader_.size() || ReadLittle32(optionalHeader_, countField) <= index) {
        return std::nullopt;
    }
    return DataDirectory{ReadLittle32(optionalHeader_, entry), ReadLittle32(optionalHeader_, entry + 4)};
}

std::optional<PeImage::FileSpan> PeImage::SpanAt(uint32_t rva) const {
    for (const Section& section : sections_) {
        if (rva < section.virtualAddress || rva - section.virtualAddress >= section.rawLength) continue;
        const uint32_t into = rva - section.virtualAddress;
        // 64-bit arithmetic: a raw pointer near 4 GiB must not wrap around to the file's start.
        const uint64_t offset = uint64_t{section.rawPointer} + into;
        if (offset >= fileSize_) return std::nullopt;
        return FileSpan{offset, std::min<uint64_t>(section.rawLength - into, fileSize_ - offset)};
    }
    return std::nullopt;
}
