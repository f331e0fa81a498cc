#include "manifest/ExecutableArchitecture.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/UniqueHandle.h"

namespace {

constexpr uint16_t kMachineX86 = 0x014C;
constexpr uint16_t kMachineAmd64 = 0x8664;
constexpr uint16_t kMachineArm64 = 0xAA64;
constexpr uint16_t kMachineIa64 = 0x0200;

constexpr uint16_t kOptionalHeader32Magic = 0x10B;
constexpr uint16_t kOptionalHeader64Magic = 0x20B;
constexpr uint32_t kClrDirectoryIndex = 14;
constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kMostSections = 96;

constexpr uint32_t kClrFlagIlOnly = 0x00001;
constexpr uint32_t kClrFlag32BitRequired = 0x00002;
constexpr uint32_t kClrFlag32BitPreferred = 0x20000;

uint16_t Read16(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

uint32_t Read32(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint32_t>(Read16(bytes, at)) | (static_cast<uint32_t>(Read16(bytes, at + 2)) << 16);
}

// Reads exactly [offset, offset + size) of the file, or nothing when any of it lies past the end.
class ImageFile {
public:
    explicit ImageFile(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
        LARGE_INTEGER size{};
        if (handle_ && GetFileSizeEx(handle_.get(), &size)) size_ = static_cast<uint64_t>(size.QuadPart);
    }

    bool Read(uint64_t offset, uint32_t size, std::vector<uint8_t>& bytes) const {
        if (!handle_ || offset > size_ || size > size_ - offset) return false;
        LARGE_INTEGER position;
        position.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(handle_.get(), position, nullptr, FILE_BEGIN)) return false;
        bytes.assign(size, 0);
        DWORD read = 0;
        return ReadFile(handle_.get(), bytes.data(), size, &read, nullptr) && read == size;
    }

private:
    UniqueHandle handle_;
    uint64_t size_ = 0;
};

// The file offset of a relative virtual address, through the section table.
bool FileOffsetOf(const ImageFile& image, uint64_t sectionTable, uint16_t sectionCount, uint32_t rva,
                  uint64_t& offset) {
    if (sectionCount > kMostSections) return false;
    std::vector<uint8_t> sections;
    if (!image.Read(sectionTable, sectionCount * kSectionHeaderSize, sections)) return false;
    for (uint32_t index = 0; index < sectionCount; ++index) {
        const size_t header = index * kSectionHeaderSize;
        const uint32_t virtualSize = Read32(sections, header + 8);
        const uint32_t virtualAddress = Read32(sections, header + 12);
        const uint32_t rawSize = Read32(sections, header + 16);
        const uint32_t rawPointer = Read32(sections, header + 20);
        const uint64_t extent = virtualSize > rawSize ? virtualSize : rawSize;
        if (rva >= virtualAddress && rva - virtualAddress < extent) {
            offset = static_cast<uint64_t>(rawPointer) + (rva - virtualAddress);
            return true;
        }
    }
    return false;
}

// An x86 image is a .NET program for any processor when its CLR header says it holds only
// intermediate code and neither requires nor prefers 32 bits.
bool IsAnyProcessorClrImage(const ImageFile& image, uint64_t optionalHeader, uint16_t optionalHeaderSize,
                            uint16_t sectionCount) {
    std::vector<uint8_t> header;
    if (optionalHeaderSize < 2 || !image.Read(optionalHeader, optionalHeaderSize, header)) return false;
    size_t countField;
    size_t directories;
    switch (Read16(header, 0)) {
    case kOptionalHeader32Magic: countField = 92, directories = 96; break;
    case kOptionalHeader64Magic: countField = 108, directories = 112; break;
    default: return false;
    }
    const size_t clrEntry = directories + kClrDirectoryIndex * 8;
    if (clrEntry + 8 > header.size() || Read32(header, countField) <= kClrDirectoryIndex) return false;
    const uint32_t clrRva = Read32(header, clrEntry);
    if (clrRva == 0) return false;

    uint64_t clrOffset;
    std::vector<uint8_t> clr;
    if (!FileOffsetOf(image, optionalHeader + optionalHeaderSize, sectionCount, clrRva, clrOffset) ||
        !image.Read(clrOffset, 20, clr) || Read32(clr, 0) < 20) {
        return false;
    }
    const uint32_t flags = Read32(clr, 16);
    return (flags & kClrFlagIlOnly) && !(flags & (kClrFlag32BitRequired | kClrFlag32BitPreferred));
}

}  // namespace

std::wstring_view ProcessorArchitectureText(ProcessorArchitecture architecture) {
    switch (architecture) {
    case ProcessorArchitecture::Amd64: return L"amd64";
    case ProcessorArchitecture::Arm64: return L"arm64";
    case ProcessorArchitecture::Ia64: return L"ia64";
    case ProcessorArchitecture::AnyProcessor: return L"*";
    case ProcessorArchitecture::X86: break;
    }
    return L"X86";
}

ProcessorArchitecture ReadExecutableArchitecture(const std::wstring& executablePath) {
    const ImageFile image(executablePath);
    std::vector<uint8_t> dosHeader;
    if (!image.Read(0, 64, dosHeader) || dosHeader[0] != 'M' || dosHeader[1] != 'Z') {
        return ProcessorArchitecture::X86;
    }
    const uint64_t ntHeaders = Read32(dosHeader, 0x3C);
    std::vector<uint8_t> fileHeader;
    if (!image.Read(ntHeaders, 24, fileHeader) || Read32(fileHeader, 0) != 0x00004550) {
        return ProcessorArchitecture::X86;
    }
    switch (Read16(fileHeader, 4)) {
    case kMachineAmd64: return ProcessorArchitecture::Amd64;
    case kMachineArm64: return ProcessorArchitecture::Arm64;
    case kMachineIa64: return ProcessorArchitecture::Ia64;
    case kMachineX86:
        if (IsAnyProcessorClrImage(image, ntHeaders + 24, Read16(fileHeader, 20), Read16(fileHeader, 6))) {
            return ProcessorArchitecture::AnyProcessor;
        }
        break;
    }
    return ProcessorArchitecture::X86;
}
