#pragma once
#include <string>
#include <vector>

// The record of every manifest the program wrote: section "Main" of history.db, one line per
// manifest (its path as the key, product name " >> " description as the value). Another copy of
// the program may use the same file at the same time: every change is made under a lock that
// both share, on the file as it is at that moment.
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
    // the file could not be written.
    bool Record(const std::wstring& manifestPath, const std::wstring& value);

    // Every entry in file order whose manifest is still there. Entries whose manifest is gone are
    // dropped from the file; those on a drive or share that cannot be reached now are kept.
    std::vector<Entry> Load();

    // Drops the entries of these manifests from the file as it is now; every other line stays as
    // it is, byte for byte.
    bool Drop(const std::vector<std::wstring>& manifestPaths);

    // Drops one entry, after its manifest was removed.
    void Forget(const std::wstring& manifestPath);

private:
    std::wstring file_;
};
