#include "platform/VersionInfo.h"

#include <windows.h>
#include <winver.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "platform/LongPath.h"
#include "platform/VersionResourceCheck.h"

namespace {

constexpr int32_t kNoModuleHandle = static_cast<int32_t>(0x812E7845u);
constexpr int32_t kNoModuleFileName = static_cast<int32_t>(0x812E7846u);
constexpr int32_t kNoVersionBlock = static_cast<int32_t>(0x812E7849u);
constexpr int32_t kNoTranslation = static_cast<int32_t>(0x812E784Au);
constexpr int32_t kNoFixedInformation = static_cast<int32_t>(0x812E784Bu);

// The longest path the platform can report, terminator included.
constexpr DWORD kLongestPath = 32768;

// The full path of a module (null: this program's executable), empty when it cannot be had.
std::wstring ModulePath(HMODULE module) {
    for (DWORD size = MAX_PATH;; size *= 2) {
        std::wstring path(size, L'\0');
        const DWORD length = GetModuleFileNameW(module, path.data(), size);
        // A filled buffer may hold a cut path: ask again with a larger one.
        if (length < size || size >= kLongestPath) {
            path.resize(length);
            return path;
        }
    }
}

// The value at a query path as bytes of the block. A value the platform reports partly or wholly
// outside the block counts as missing: damaged files report lengths far beyond their block.
// unitSize is the size of one unit of the reported length (1 for binary values, 2 for texts).
std::optional<std::span<const unsigned char>> QueryValue(std::span<const unsigned char> block,
                                                         const wchar_t* path, size_t unitSize) {
    if (block.empty()) {
        return std::nullopt;
    }
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), path, &value, &length) || value == nullptr) {
        return std::nullopt;
    }
    const auto begin = reinterpret_cast<uintptr_t>(block.data());
    const auto end = begin + block.size();
    const auto at = reinterpret_cast<uintptr_t>(value);
    const uint64_t bytes = uint64_t{length} * unitSize;
    if (at < begin || at > end || bytes > end - at) {
        return std::nullopt;
    }
    return std::span(block.data() + (at - begin), static_cast<size_t>(bytes));
}

// A block's lengths are 16-bit: no lookup inside it reaches further than this past its start.
constexpr size_t kReadSlack = 0x10000;

std::wstring TrimAtNull(std::wstring text) {
    text.resize(std::min(text.size(), text.find(L'\0')));
    return text;
}

// The last `width` characters of `width` zeros followed by the text.
std::wstring PadZeros(std::wstring_view text, size_t width) {
    std::wstring padded(width, L'0');
    padded += text;
    return padded.substr(padded.size() - width);
}

std::wstring HexByte(unsigned char byte) {
    wchar_t digits[3] = {};
    std::swprintf(digits, 3, L"%X", static_cast<unsigned>(byte));
    return PadZeros(digits, 2);
}

int32_t HexNumber(std::wstring_view digits) {
    return static_cast<int32_t>(std::wcstol(std::wstring(digits).c_str(), nullptr, 16));
}

}  // namespace

void VersionInfo::SetFileName(std::wstring path) {
    moduleName_.clear();
    fileName_ = std::move(path);
    LoadVersionInfo();
}

void VersionInfo::SetModuleName(std::wstring name) {
    moduleName_ = std::move(name);
    LoadVersionInfo();
}

void VersionInfo::RaiseError(int32_t number, const wchar_t* description) {
    loadErrors_.push_back({number, L"VersionInfo", description});
}

VersionInfoError VersionInfo::LastError() const {
    return loadErrors_.empty() ? VersionInfoError{} : loadErrors_.back();
}

// Every step runs even when an earlier one failed; a failed step leaves its part empty or zero.
void VersionInfo::LoadVersionInfo() {
    versionBlock_.clear();
    blockSize_ = 0;
    translation_.clear();
    fixed_ = {};
    loadErrors_.clear();

    if (!moduleName_.empty()) {
        // A module that is not loaded falls back to the null handle: this program's executable.
        const HMODULE module = GetModuleHandleW(moduleName_.c_str());
        if (module == nullptr) {
            RaiseError(kNoModuleHandle, L"Unable to retrieve module handle.");
        }
        fileName_ = ModulePath(module);
        if (fileName_.empty()) {
            RaiseError(kNoModuleFileName, L"Unable to retrieve module file name.");
        }
    }

    // A file whose version resource the system's functions cannot read safely counts as having
    // none: they never see it.
    DWORD unused = 0;
    const std::wstring callPath = PathForFileCalls(fileName_);
    const DWORD size =
        HasSoundVersionResource(callPath) ? GetFileVersionInfoSizeW(callPath.c_str(), &unused) : 0;
    // The system's lookups follow the block's own lengths, which may point past what was filled:
    // zeros behind the block keep every such read inside memory of ours.
    versionBlock_.assign(size == 0 ? 0 : size + kReadSlack, 0);
    blockSize_ = size;
    if (versionBlock_.empty() ||
        !GetFileVersionInfoW(callPath.c_str(), 0, size, versionBlock_.data())) {
        versionBlock_.clear();
        blockSize_ = 0;
        RaiseError(kNoVersionBlock, L"Unable to retrieve version information.");
    }

    // Only the first translation counts: language bytes b1 b0, then code page bytes b3 b2.
    const auto table = QueryValue(Block(), L"\\VarFileInfo\\Translation", 1);
    if (!table || table->size() < 4) {
        RaiseError(kNoTranslation, L"Unable to retrieve language and code page information.");
    } else {
        const auto& bytes = *table;
        translation_ = HexByte(bytes[1]) + HexByte(bytes[0]) + HexByte(bytes[3]) + HexByte(bytes[2]);
        if (translation_ == L"00000000") {
            translation_ = L"040904E4";
        }
    }

    const auto record = QueryValue(Block(), L"\\", 1);
    if (!record || record->size() < sizeof(VS_FIXEDFILEINFO)) {
        RaiseError(kNoFixedInformation, L"Unable to retrieve fixed file version information.");
    } else {
        VS_FIXEDFILEINFO fixed;
        std::memcpy(&fixed, record->data(), sizeof fixed);
        fixed_ = {fixed.dwFileFlagsMask, fixed.dwFileFlags, fixed.dwFileOS, fixed.dwFileType,
                  fixed.dwFileSubtype};
    }
}

std::wstring VersionInfo::QueryStringValue(const wchar_t* entry) const {
    const std::wstring path = L"\\StringFileInfo\\" + translation_ + L"\\" + entry;
    const auto value = QueryValue(Block(), path.c_str(), sizeof(wchar_t));
    if (!value || value->empty()) {
        return {};
    }
    // The reported length counts the terminating NUL; a value that lacks it is cut before its
    // last character all the same.
    std::wstring text(value->size() / sizeof(wchar_t) - 1, L'\0');
    std::memcpy(text.data(), value->data(), text.size() * sizeof(wchar_t));
    return TrimAtNull(std::move(text));
}

int32_t VersionInfo::Language() const {
    return translation_.size() == 8 ? HexNumber(std::wstring_view(translation_).substr(0, 4)) : 0;
}

int32_t VersionInfo::CodePage() const {
    return translation_.size() == 8 ? HexNumber(std::wstring_view(translation_).substr(4, 4)) : 0;
}

std::wstring VersionInfo::CompanyName() const { return QueryStringValue(L"CompanyName"); }
std::wstring VersionInfo::FileDescription() const { return QueryStringValue(L"FileDescription"); }
std::wstring VersionInfo::FileVersion() const { return QueryStringValue(L"FileVersion"); }
std::wstring VersionInfo::InternalName() const { return QueryStringValue(L"InternalName"); }
std::wstring VersionInfo::LegalCopyright() const { return QueryStringValue(L"LegalCopyright"); }
std::wstring VersionInfo::OriginalFileName() const { return QueryStringValue(L"OriginalFileName"); }
std::wstring VersionInfo::ProductName() const { return QueryStringValue(L"ProductName"); }
std::wstring VersionInfo::ProductVersion() const { return QueryStringValue(L"ProductVersion"); }
std::wstring VersionInfo::LegalTrademarks() const { return QueryStringValue(L"LegalTrademarks"); }
std::wstring VersionInfo::LegalTrademarks1() const { return QueryStringValue(L"LegalTrademarks1"); }
std::wstring VersionInfo::LegalTrademarks2() const { return QueryStringValue(L"LegalTrademarks2"); }
std::wstring VersionInfo::Comments() const { return QueryStringValue(L"Comments"); }
std::wstring VersionInfo::PrivateBuild() const { return QueryStringValue(L"PrivateBuild"); }
std::wstring VersionInfo::SpecialBuild() const { return QueryStringValue(L"SpecialBuild"); }

int32_t VersionInfo::FileFlagsRaw() const {
    return static_cast<int32_t>(fixed_.flags & fixed_.flagsMask);
}

std::wstring VersionInfo::FileFlags() const {
    struct FlagWord {
        uint32_t bit;
        const wchar_t* word;
    };
    static constexpr FlagWord kFlagWords[] = {
        {0x01, L"Debug "},   {0x04, L"Patched "}, {0x02, L"Pre-release "},
        {0x08, L"Private "}, {0x20, L"Special "},
    };
    const uint32_t masked = fixed_.flags & fixed_.flagsMask;
    std::wstring words;
    for (const FlagWord& flag : kFlagWords) {
        if (masked & flag.bit) {
            words += flag.word;
        }
    }
    return words;
}

int32_t VersionInfo::FileOSRaw() const { return static_cast<int32_t>(fixed_.os); }

std::wstring VersionInfo::FileOS() const {
    std::wstring text;
    switch (fixed_.os & 0xFFFF) {
        case 1: text = L"Win16 API"; break;
        case 2: text = L"PM16 API"; break;
        case 3: text = L"PM32 API"; break;
        case 4: text = L"Win32 API"; break;
        default: text = L"Unknown API"; break;
    }
    switch (fixed_.os & 0xFFFF0000) {
        case 0x00010000: text += L" on DOS"; break;
        case 0x00020000: text += L" on OS2/16"; break;
        case 0x00030000: text += L" on OS2/32"; break;
        case 0x00040000: text += L" on Windows NT"; break;
        default: break;
    }
    return text;
}

int32_t VersionInfo::FileTypeRaw() const { return static_cast<int32_t>(fixed_.type); }

std::wstring VersionInfo::FileType() const {
    switch (fixed_.type) {
        case 0: return L"Unknown";
        case 1: return L"Application";
        case 2: return L"DLL";
        case 3: return L"Driver";
        case 4: return L"Font";
        case 5: return L"VXD";
        case 7: return L"Static-link library";
        default: return {};  // 6 and everything above 7
    }
}

int32_t VersionInfo::FileSubTypeRaw() const { return static_cast<int32_t>(fixed_.subtype); }

std::wstring VersionInfo::FileSubType() const {
    static constexpr const wchar_t* kDriverSubtypes[] = {
        L"Unknown", L"Printer", L"Keyboard",       L"Language",    L"Display", L"Mouse",
        L"Network", L"System",  L"Installable",    L"Sound",       L"Communications",
        L"Input Method",
    };
    static constexpr const wchar_t* kFontSubtypes[] = {L"Unknown", L"Raster", L"Vector",
                                                       L"TrueType"};
    switch (fixed_.type) {
        case 3:
            if (fixed_.subtype < std::size(kDriverSubtypes)) return kDriverSubtypes[fixed_.subtype];
            break;
        case 4:
            if (fixed_.subtype < std::size(kFontSubtypes)) return kFontSubtypes[fixed_.subtype];
            break;
        case 5:
            // A virtual device's subtype is its device identifier.
            return std::to_wstring(FileSubTypeRaw());
        default:
            break;
    }
    return L"Unknown";
}
