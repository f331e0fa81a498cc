#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One error raised by a step of a load. Numbers are negative 32-bit values; number 0 means none.
struct VersionInfoError {
    int32_t number = 0;
    std::wstring source;
    std::wstring description;
};

// The version resource of an executable file, or of a module loaded in this process.
// Setting FileName or ModuleName loads everything at once and never fails: a file that cannot be
// read gives empty texts and zero numbers, and each failed step is recorded as an error. Only a PE
// image whose version resource is sound is read; a damaged one, or a file of another kind (a
// 16-bit program among them), reads as a file without version information.
class VersionInfo {
public:
    // Reads the file at this path, of any length. The object then describes that file only: a
    // module name set earlier is forgotten, so the last set wins.
    void SetFileName(std::wstring path);
    // The path last set, or the path found for the module name.
    const std::wstring& FileName() const { return fileName_; }

    // Reads the file of a module loaded in this process; when no such module is loaded, the
    // program's own executable is read instead.
    void SetModuleName(std::wstring name);
    const std::wstring& ModuleName() const { return moduleName_; }

    // Language identifier and code page of the first translation, 0 when there is none.
    int32_t Language() const;
    int32_t CodePage() const;

    // Entries of the string table under that translation; empty when missing or unreadable.
    std::wstring CompanyName() const;
    std::wstring FileDescription() const;
    std::wstring FileVersion() const;
    std::wstring InternalName() const;
    std::wstring LegalCopyright() const;
    std::wstring OriginalFileName() const;
    std::wstring ProductName() const;
    std::wstring ProductVersion() const;
    std::wstring LegalTrademarks() const;
    std::wstring LegalTrademarks1() const;
    std::wstring LegalTrademarks2() const;
    std::wstring Comments() const;
    std::wstring PrivateBuild() const;
    std::wstring SpecialBuild() const;

    // Fields of the fixed file information, raw and as English words; 0 when it was not read.
    int32_t FileFlagsRaw() const;  // flags AND flags mask
    std::wstring FileFlags() const;
    int32_t FileOSRaw() const;
    std::wstring FileOS() const;
    int32_t FileTypeRaw() const;
    std::wstring FileType() const;
    int32_t FileSubTypeRaw() const;
    std::wstring FileSubType() const;

    // The errors raised by the last load, in the order raised.
    const std::vector<VersionInfoError>& LoadErrors() const { return loadErrors_; }
    // The last error raised by the last load; number 0 when it raised none.
    VersionInfoError LastError() const;

private:
    struct FixedInformation {
        uint32_t flagsMask = 0;
        uint32_t flags = 0;
        uint32_t os = 0;
        uint32_t type = 0;
        uint32_t subtype = 0;
    };

    std::wstring QueryStringValue(const wchar_t* entry) const;
    void LoadVersionInfo();
    void RaiseError(int32_t number, const wchar_t* description);

    std::wstring moduleName_;
    std::wstring fileName_;
    // The filled part of the block, which is all that values are taken from.
    std::span<const unsigned char> Block() const { return {versionBlock_.data(), blockSize_}; }

    std::vector<unsigned char> versionBlock_;
    size_t blockSize_ = 0;
    std::wstring translation_;
    FixedInformation fixed_;
    std::vector<VersionInfoError> loadErrors_;
};
