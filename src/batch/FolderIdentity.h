#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

// What makes a folder the same folder whatever path leads to it: its file index on its volume.
class FolderIdentity {
public:
    // Nothing when the folder cannot be opened or its file system gives no index.
    static std::optional<FolderIdentity> Of(const std::wstring& directory);

    // The same index and the same volume serial. The serials are read only when the indices
    // match, which is rare, and reading a volume's serial is slow where volumes are emulated; a
    // serial that cannot be read counts as the same.
    bool SameAs(const FolderIdentity& other) const;

private:
    FolderIdentity(std::wstring directory, uint64_t index) : directory_(std::move(directory)), index_(index) {}
    std::optional<uint32_t> VolumeSerial() const;

    std::wstring directory_;
    uint64_t index_;
    mutable std::optional<std::optional<uint32_t>> serial_;  // read once, when first asked
};
