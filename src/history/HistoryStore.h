#pragma once
#include <optional>
#include <string>
#include <vector>

// The record of every manifest the program wrote: section "Main" of history.db, one line per
// manifest (its path as the key, product name " >> " description as the value). Another copy of
// the program may use the same file at the same time: every change is made under a lock that
// both share, on the file as it is at that moment.
// One rule for every change (record, prune, forget): the whole file is rewritten in one step, so
// that it holds all of the change or none of it (a full disk cuts nothing), and a history file
// that is a link, no regular file, read-only, or of bytes in no known encoding is never changed.
// A file in UTF-16 or UTF-8 without a byte-order mark is converted once to UTF-16LE, so that no
// entry is misread (and pruned as gone).
class HistoryStore {
public:
    explicit HistoryStore(std::wstring file);

    const std::wstring& File() const { return file_; }

    struct Entry {
        std::wstring manifestPath;
        std::wstring value;  // as the profile functions read it
        bool operator==(const Entry&) const = default;
    };

    // Records a written manifest; an entry of the same manifest takes the new value. False when
    // the file could not be changed.
    bool Record(const std::wstring& manifestPath, const std::wstring& value);
    // Records many in one change of the file: all of them, or none when false.
    bool Record(const std::vector<Entry>& entries);

    enum class Trouble {
        None,
        // Not read, and so nothing listed: a link, no regular file, bytes in no known encoding,
        // or a file that had to be converted and could not be.
        Unreadable,
        // Entries whose manifest is gone could not be dropped from the file.
        NotUpdated,
    };
    struct Listing {
        std::vector<Entry> entries;
        Trouble trouble = Trouble::None;
        // The manifests whose entries were dropped as gone (or would be, when the file is left alone).
        std::vector<std::wstring> gone;
    };
    enum class Pruning { DropGone, LeaveFile };

    // Every entry in file order, none dropped; a file saved in another encoding without a
    // byte-order mark is first converted to the program's own. Nothing when it cannot be read
    // (the cases of Trouble::Unreadable).
    std::optional<std::vector<Entry>> ReadAll();

    // Every entry in file order whose manifest is still there. Entries whose manifest is gone are
    // dropped from the file unless it is to be left alone; those on a drive or share that cannot
    // be reached now are kept (the rule of StandingOfManifests).
    Listing List(Pruning pruning = Pruning::DropGone);

    // Drops the entries of these manifests from the file as it is now; every other line stays as
    // it is, byte for byte. True when none is left in it (a missing file has none).
    bool Drop(const std::vector<std::wstring>& manifestPaths);

    // Drops one entry, after its manifest was removed; false when it stays in the file.
    bool Forget(const std::wstring& manifestPath);

private:
    std::wstring file_;
};
