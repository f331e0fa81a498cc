#pragma once
// How the bytes of a profile file stand for text. The platform's profile functions go by the
// byte-order mark and read any file without one in the ANSI code page; a file saved elsewhere in
// UTF-16 or UTF-8 without a mark is recognised here, so that it is never misread or rewritten as
// garbage. No file and no window involved.
#include <optional>
#include <string>
#include <string_view>

enum class TextForm { Ansi, Utf8, Utf16Le, Utf16Be };

struct ProfileEncoding {
    TextForm form = TextForm::Ansi;
    bool marked = false;  // the bytes start with the form's byte-order mark
    bool operator==(const ProfileEncoding&) const = default;

    // The platform's profile functions read the file as what it is.
    bool ReadRightByPlatform() const { return marked || form == TextForm::Ansi; }
    size_t MarkSize() const;
    size_t UnitSize() const { return form == TextForm::Utf16Le || form == TextForm::Utf16Be ? 2 : 1; }
};

// The encoding every new or converted profile file gets: UTF-16LE with its mark.
inline constexpr ProfileEncoding kOwnProfileEncoding{TextForm::Utf16Le, true};

// The encoding the platform reads the bytes in: the one their mark names, else ANSI.
ProfileEncoding PlatformProfileEncoding(std::string_view bytes);

// What the bytes are: the encoding of their mark; else UTF-16 when they hold NUL bytes, mostly at
// odd offsets (little-endian) or mostly at even ones (big-endian); else UTF-8 when they are
// well-formed UTF-8 with at least one byte above 127; else ANSI. Nothing for NUL bytes in no such
// pattern, which no text of these forms holds.
std::optional<ProfileEncoding> DetectProfileEncoding(std::string_view bytes);

std::string_view ByteOrderMarkOf(TextForm form);

// The text of bytes (mark excluded) in that form. Malformed UTF-8 is read in the ANSI code page.
std::wstring DecodeProfileText(std::string_view bytes, TextForm form);

// The bytes of a text in that form, without a mark.
std::string EncodeProfileText(std::wstring_view text, TextForm form);

// Whether the ANSI code page holds the text exactly; a best-fit replacement does not count.
bool AnsiCanHold(std::wstring_view text);
