#pragma once
// Access to profile (INI) files through the platform's wide-character profile functions.
// Every routine is told its file and section by the caller, so that no call can act on a file
// another caller named before a yield. No file stays open after a routine returns.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ProfileTarget {
    std::wstring file;     // full path of the profile file
    std::wstring section;  // name of the section, e.g. "Main"
};

// A per-key read returns at most this many characters of a value.
inline constexpr std::size_t kProfileValueLimit = 254;

// How much of a value a read gives: what a per-key read of kProfileValueLimit characters gives
// (the history's values, as its entries have always been read), or the whole value (the tweak
// catalogue's locations, which must never be cut short).
enum class ValueLength { AsPerKeyRead, Whole };

struct ProfileEntry {
    std::wstring key;
    std::wstring value;
    bool operator==(const ProfileEntry&) const = default;
};

// The key's value, cut to kProfileValueLimit characters and without enclosing quotes;
// defaultValue when the key, the section or the file is missing.
std::wstring ReadProfileValue(const ProfileTarget& target, const std::wstring& key, const std::wstring& defaultValue);

// Every change below is a whole-file rewrite (see RewriteProfileFile): the file holds all of it or
// none of it, and a file that is a link, no regular file, read-only, or of bytes in no known
// encoding is left as it was. A new file is UTF-16LE; an ANSI file becomes UTF-16LE when a text
// has no form in its code page, and a file in UTF-16 or UTF-8 without a byte-order mark is
// converted to UTF-16LE, so that the platform never misreads it.

// Sets the key's value as the platform's own write does: the first line of the key in the
// section (letter case ignored) gets the value, else a line is added after the section's last
// one, and the section at the end of the file when it is missing; the file is created when
// missing. Refuses a key or value the format cannot hold (see WriteSectionEntries). False when
// nothing was written.
bool WriteProfileValue(const ProfileTarget& target, const std::wstring& key, const std::wstring& value);
// Writes many keys of the section in one rewrite of the file, with the same rules; a key given
// twice takes its last value.
bool WriteProfileValues(const ProfileTarget& target, const std::vector<ProfileEntry>& entries);

// Every key of the section in file order with the value ReadProfileValue(key, L"") gives (the
// whole value with ValueLength::Whole), read in one pass whatever the size. Lines without "=" or
// without a key are left out. Missing file or section: no rows.
std::vector<ProfileEntry> ReadSectionEntries(const ProfileTarget& target,
                                             ValueLength length = ValueLength::AsPerKeyRead);

// Replaces all lines of the section by the rows, in order, in one rewrite of the file, so that
// ReadSectionEntries gives the same rows back (values up to 253 characters that need quoting,
// up to kProfileValueLimit otherwise). Refuses, writing nothing, when a key is empty, holds "=",
// starts with ";" or "[", or begins or ends with a blank, or when a key or value holds a line
// break or NUL. The file is created when missing.
bool WriteSectionEntries(const ProfileTarget& target, const std::vector<ProfileEntry>& rows);

// Removes every line of the target's section (the first of that name, as the profile functions
// read it) whose key is one of these, letter case ignored; every other byte of the file stays as
// it is, whatever was written to it meanwhile and however long its values are. The file is left
// alone when nothing matches, and a missing file stays missing. False when it could not be
// rewritten.
bool RemoveSectionKeys(const ProfileTarget& target, const std::vector<std::wstring>& keys);

// Makes the profile functions drop what they cached of the file, so that the next call reads
// what another process or a direct rewrite left there.
void ForgetCachedProfile(const std::wstring& file);

// The whole file as text, decoded the way the profile functions read it (a UTF-16 or
// UTF-8 byte-order mark, else the ANSI code page). nullopt when the file cannot be read or its
// UTF-8 is malformed.
std::optional<std::wstring> ReadProfileText(const std::wstring& file);

// Text side, no file involved.

// A stored value as a per-key read returns it: enclosing quotes (" or ') dropped, cut to
// kProfileValueLimit characters; the closing quote is dropped only when it would fit the read
// buffer (so a quoted text of 254 characters comes back as 253). ValueLength::Whole: nothing cut.
std::wstring ProfileValueAsRead(std::wstring_view storedValue, ValueLength length = ValueLength::AsPerKeyRead);

struct ParsedSection {
    std::vector<ProfileEntry> rows;
    // Rows whose key stands on more than one line (letter case ignored): which line a per-key
    // read picks follows the platform's own matching, so their values must be asked for.
    std::vector<std::size_t> repeatedKeyRows;
};

// Rows of a section text as the platform's section read delivers it ("key=value" items, each
// followed by NUL). Keys and values lose surrounding blanks; comment lines (";"), lines without
// "=" and lines with an empty key give no row.
ParsedSection ParseSectionText(std::wstring_view sectionText, ValueLength length = ValueLength::AsPerKeyRead);
