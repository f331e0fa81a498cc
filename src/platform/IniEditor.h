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

struct ProfileEntry {
    std::wstring key;
    std::wstring value;
    bool operator==(const ProfileEntry&) const = default;
};

// The key's value, cut to kProfileValueLimit characters and without enclosing quotes;
// defaultValue when the key, the section or the file is missing.
std::wstring ReadProfileValue(const ProfileTarget& target, const std::wstring& key, const std::wstring& defaultValue);

// Sets the key's value (replacing an existing one, creating file and section when missing).
// A missing file is created as UTF-16LE; an ANSI file is first converted to UTF-16LE when a text
// has no form in the ANSI code page. False when nothing could be written.
bool WriteProfileValue(const ProfileTarget& target, const std::wstring& key, const std::wstring& value);

// Removes the key's line; a missing file stays missing.
void DeleteProfileKey(const ProfileTarget& target, const std::wstring& key);

// Every key of the section in file order with the value ReadProfileValue(key, L"") gives,
// read in one pass whatever the size. Lines without "=" or without a key are left out.
// Missing file or section: no rows.
std::vector<ProfileEntry> ReadSectionEntries(const ProfileTarget& target);

// Replaces all lines of the section by the rows, in order, in one rewrite of the file, so that
// ReadSectionEntries gives the same rows back (values up to 253 characters that need quoting,
// up to kProfileValueLimit otherwise). Refuses, writing nothing, when a key is empty, holds "=",
// starts with ";" or "[", or begins or ends with a blank, or when a key or value holds a line
// break or NUL. Files are prepared for Unicode as in WriteProfileValue.
bool WriteSectionEntries(const ProfileTarget& target, const std::vector<ProfileEntry>& rows);

// Removes every line of the target's section (the first of that name, as the profile functions
// read it) whose key is one of these, letter case ignored; every other byte of the file stays as
// it is, whatever was written to it meanwhile and however long its values are. The file is
// replaced in one step and left alone when nothing matches. False when it could not be read or
// replaced (a read-only file is not replaced).
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
// buffer (so a quoted text of 254 characters comes back as 253).
std::wstring ProfileValueAsRead(std::wstring_view storedValue);

struct ParsedSection {
    std::vector<ProfileEntry> rows;
    // Rows whose key stands on more than one line (letter case ignored): which line a per-key
    // read picks follows the platform's own matching, so their values must be asked for.
    std::vector<std::size_t> repeatedKeyRows;
};

// Rows of a section text as the platform's section read delivers it ("key=value" items, each
// followed by NUL). Keys and values lose surrounding blanks; comment lines (";"), lines without
// "=" and lines with an empty key give no row.
ParsedSection ParseSectionText(std::wstring_view sectionText);
