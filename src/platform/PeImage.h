#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/UniqueHandle.h"

// The headers of a PE image file, read with bounded reads: every offset and size taken from the
// file is checked against the file's size before anything is read or allocated, so a truncated
// or hostile file only reads as less of an image.
class PeImage {
public:
    // Opens the file for reading and reads its headers; a file that cannot be opened reads as no
    // image. Paths of any length.
    explicit PeImage(const std::wstring& path);

    // The file starts with an MZ header whose NT headers carry the PE signature.
    bool IsPeImage() const { return isPeImage_; }
    // A PE image whose optional header is PE32 or PE32+: what the loader takes for a program.
    bool HasProgramHeader() const;
    // The machine field of the file header; 0 when the file is no PE image.
    uint16_t Machine() const { return machine_; }
    // The optional header and the section table could both be read.
    bool HeadersComplete() const { return !optionalHeader_.empty() && sectionsRead_; }

    struct DataDirectory {
        uint32_t rva = 0;
        uint32_t size = 0;
    };
    // An entry of the optional header's data directory table; none when the header does not
    // count or hold that entry.
    std::optional<DataDirectory> Directory(uint32_t index) const;

    // Where a relative virtual address lies in the file: its offset, and how many bytes of the
    // section's raw data follow it there (counting from that offset, cut at the end of the file).
    struct FileSpan {
        uint64_t offset = 0;
        uint64_t length = 0;
    };
    // None when the address lies in no section's raw data within the file.
    std::optional<FileSpan> SpanAt(uint32_t rva) const;

    // Exactly [offset, offset + size) of the file, or false when any of it lies past the end.
    bool Read(uint64_t offset, uint32_t size, std::vector<uint8_t>& bytes) const;

private:
    struct Section {
        uint32_t virtualAddress = 0;
        uint32_t rawLength = 0;  // the part of the raw data that the section maps
        uint32_t rawPointer = 0;
    };

    void ReadHeaders();
    // 0x10B for PE32, 0x20B for PE32+; 0 when the optional header could not be read.
    uint16_t OptionalHeaderMagic() const;

    UniqueHandle file_;
    uint64_t fileSize_ = 0;
    bool isPeImage_ = false;
    uint16_t machine_ = 0;
    std::vector<uint8_t> optionalHeader_;
    bool sectionsRead_ = false;
    std::vector<Section> sections_;
};

// Little-endian fields of bytes read from an image.
uint16_t ReadLittle16(const std::vector<uint8_t>& bytes, size_t at);
uint32_t ReadLittle32(const std::vector<uint8_t>& bytes, size_t at);
