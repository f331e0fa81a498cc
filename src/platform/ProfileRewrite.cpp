#include "platform/ProfileRewrite.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "platform/IniEditor.h"
#include "platform/PathLinks.h"
#include "platform/ProfileEncoding.h"
#include "platform/WholeFile.h"

namespace {

bool EndsInLineFeed(std::string_view line, const ProfileEncoding& encoding) {
    if (encoding.UnitSize() == 1) return line.ends_with('\n');
    return line.ends_with(encoding.form == TextForm::Utf16Le ? std::string_view("\n\0", 2)
                                                             : std::string_view("\0\n", 2));
}

// The file's lines, each with its line end; a line ends after a line feed.
std::vector<ProfileLine> SplitIntoLines(std::string_view bytes, const ProfileEncoding& encoding) {
    const size_t unit = encoding.UnitSize();
    bytes.remove_prefix(std::min(encoding.MarkSize(), bytes.size()));
    // A trailing half of a UTF-16 unit is no character the platform reads.
    bytes.remove_suffix(bytes.size() % unit);
    std::vector<ProfileLine> lines;
    size_t start = 0;
    for (size_t at = 0; at < bytes.size(); at += unit) {
        const std::string_view line = bytes.substr(start, at + unit - start);
        if (at + unit < bytes.size() && !EndsInLineFeed(line, encoding)) continue;
        std::wstring text = DecodeProfileText(line, encoding.form);
        const size_t endLength = text.ends_with(L"\r\n") ? 2 : text.ends_with(L'\n') ? 1 : 0;
        std::wstring ending = text.substr(text.size() - endLength);
        text.erase(text.size() - endLength);
        lines.push_back({std::move(text), std::move(ending), std::string(line)});
        start = at + unit;
    }
    return lines;
}

// An ANSI file stays ANSI while its code page holds every changed line.
ProfileEncoding EncodingToWrite(const ProfileEncoding& read, const std::vector<ProfileLine>& lines) {
    if (!read.ReadRightByPlatform()) return kOwnProfileEncoding;
    if (read.form != TextForm::Ansi) return read;
    const bool ansiHoldsAll = std::all_of(lines.begin(), lines.end(), [](const ProfileLine& line) {
        return !line.stored.empty() || AnsiCanHold(line.text);
    });
    return ansiHoldsAll ? read : kOwnProfileEncoding;
}

std::string FileBytes(const std::vector<ProfileLine>& lines, const ProfileEncoding& written, bool encodingKept) {
    std::string bytes(written.marked ? ByteOrderMarkOf(written.form) : std::string_view());
    for (size_t i = 0; i < lines.size(); ++i) {
        const ProfileLine& line = lines[i];
        if (encodingKept && !line.stored.empty()) {
            bytes += line.stored;
        } else {
            bytes += EncodeProfileText(line.text + line.ending, written.form);
        }
        // A line added after a last line without a line end starts a line of its own.
        if (line.ending.empty() && i + 1 < lines.size()) bytes += EncodeProfileText(L"\r\n", written.form);
    }
    return bytes;
}

bool IsMissing(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND;
}

}  // namespace

bool IsPlainProfilePath(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    // Wine answers a pipe or a device with an error other than a missing file.
    if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
    constexpr DWORD kNoRegularFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT;
    return (attributes & kNoRegularFile) == 0 && !IsLinkOrJunction(path) && !HasOtherNames(path);
}

bool RewriteProfileFile(const std::wstring& path, const ProfileLinesEdit& edit, MissingProfile missing) {
    if (!IsPlainProfilePath(path)) return false;
    const bool creating = IsMissing(path);
    std::string bytes;
    if (!creating) {
        std::optional<std::string> read = ReadWholeFile(path);
        if (!read) return false;
        bytes = std::move(*read);
    }
    const std::optional<ProfileEncoding> encoding = creating ? kOwnProfileEncoding : DetectProfileEncoding(bytes);
    if (!encoding) return false;

    std::vector<ProfileLine> lines = SplitIntoLines(bytes, *encoding);
    const bool changed = edit(lines);
    if (!changed && encoding->ReadRightByPlatform()) return true;
    if (creating && (!changed || missing == MissingProfile::LeaveMissing)) return !changed;

    const ProfileEncoding written = EncodingToWrite(*encoding, lines);
    const bool encodingKept = !creating && written == *encoding;
    if (!ReplaceWholeFile(path, FileBytes(lines, written, encodingKept))) return false;
    // The platform may hold the file's old text.
    ForgetCachedProfile(path);
    return true;
}

bool MakeProfileReadable(const std::wstring& path) {
    // A file with a byte-order mark, as every file this program writes has, is read right as it
    // is: only one without needs reading whole to tell its encoding.
    if (!IsPlainProfilePath(path)) return false;
    if (const std::optional<std::string> head = ReadWholeFile(path, 3); head && PlatformProfileEncoding(*head).marked) {
        return true;
    }
    return RewriteProfileFile(path, [](std::vector<ProfileLine>&) { return false; }, MissingProfile::LeaveMissing);
}
