#include "manifest/ExecutableArchitecture.h"

#include <cstdint>
#include <vector>

#include "platform/PeImage.h"

namespace {

constexpr uint16_t kMachineX86 = 0x014C;
constexpr uint16_t kMachineAmd64 = 0x8664;
constexpr uint16_t kMachineArm64 = 0xAA64;
constexpr uint16_t kMachineIa64 = 0x0200;

constexpr uint32_t kClrDirectoryIndex = 14;
constexpr uint32_t kClrHeaderPrefix = 20;  // size field, versions, metadata directory, flags

constexpr uint32_t kClrFlagIlOnly = 0x00001;
constexpr uint32_t kClrFlag32BitRequired = 0x00002;
constexpr uint32_t kClrFlag32BitPreferred = 0x20000;

// An x86 image is a .NET program for any processor when its CLR header says it holds only
// intermediate code and neither requires nor prefers 32 bits.
bool IsAnyProcessorClrImage(const PeImage& image) {
    const auto clrDirectory = image.Directory(kClrDirectoryIndex);
    if (!clrDirectory || clrDirectory->rva == 0) return false;
    const auto clrSpan = image.SpanAt(clrDirectory->rva);
    std::vector<uint8_t> clr;
    if (!clrSpan || clrSpan->length < kClrHeaderPrefix || !image.Read(clrSpan->offset, kClrHeaderPrefix, clr) ||
        ReadLittle32(clr, 0) < kClrHeaderPrefix) {
        return false;
    }
    const uint32_t flags = ReadLittle32(clr, 16);
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

std::optional<ProcessorArchitecture> ReadProgramArchitecture(const std::wstring& path) {
    const PeImage image(path);
    if (!image.HasProgramHeader()) return std::nullopt;
    switch (image.Machine()) {
    case kMachineAmd64: return ProcessorArchitecture::Amd64;
    case kMachineArm64: return ProcessorArchitecture::Arm64;
    case kMachineIa64: return ProcessorArchitecture::Ia64;
    case kMachineX86:
        if (IsAnyProcessorClrImage(image)) return ProcessorArchitecture::AnyProcessor;
        break;
    }
    return ProcessorArchitecture::X86;
}

ProcessorArchitecture ReadExecutableArchitecture(const std::wstring& executablePath) {
    return ReadProgramArchitecture(executablePath).value_or(ProcessorArchitecture::X86);
}
