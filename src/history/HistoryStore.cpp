#include "history/HistoryStore.h"

#include <windows.h>

#include "history/HistoryLines.h"
#include "history/HistoryLock.h"
#include "history/HistoryStanding.h"
#include "platform/IniEditor.h"
#include "platform/ProfileRewrite.h"

namespace {

constexpr wchar_t kHistorySection[] = L"Main";

// Every entry in file order, as stored: lines that name no manifest of ours are left out.
std::vector<HistoryStore::Entry> ReadEntries(const std::wstring& historyFile) {
    ForgetCachedProfile(historyFile);
    std::vector<ProfileEntry> rows = ReadSectionEntries({historyFile, kHistorySection});
    std::vector<HistoryStore::Entry> entries;
    for (ProfileEntry& row : rows) {
        std::wstring manifestPath = ManifestPathOfHistoryKey(row.key);
        if (IsHistoryEntryPath(manifestPath)) entries.push_back({std::move(manifestPath), std::move(row.value)});
    }
    return entries;
}

}  // namespace

HistoryStore::HistoryStore(std::wstring file) : file_(std::move(file)) {}

bool HistoryStore::Record(const std::wstring& manifestPath, const std::wstring& value) {
    return Record(std::vector<Entry>{{manifestPath, value}});
}

bool HistoryStore::Record(const std::vector<Entry>& entries) {
    std::vector<ProfileEntry> rows;
    rows.reserve(entries.size());
    for (const Entry& entry : entries) rows.push_back({HistoryKeyFor(entry.manifestPath), StoredHistoryValue(entry.value)});
    const HistoryLock lock(file_);
    return WriteProfileValues({file_, kHistorySection}, rows);
}

std::optional<std::vector<HistoryStore::Entry>> HistoryStore::ReadAll() {
    // Converted and read under one lock: another copy's write replaces the file, so it is read
    // whole, not half-written.
    const HistoryLock lock(file_);
    if (!MakeProfileReadable(file_)) return std::nullopt;
    return ReadEntries(file_);
}

HistoryStore::Listing HistoryStore::List(Pruning pruning) {
    std::optional<std::vector<Entry>> read = ReadAll();
    if (!read) return {{}, Trouble::Unreadable};
    std::vector<Entry>& entries = *read;
    const std::vector<ManifestStanding> standing = StandingOfManifests(entries);

    std::vector<Entry> kept;
    std::vector<std::wstring> gone;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (standing[i] == ManifestStanding::Gone) {
            gone.push_back(std::move(entries[i].manifestPath));
        } else {
            kept.push_back(std::move(entries[i]));
        }
    }
    const bool updated = gone.empty() || pruning == Pruning::LeaveFile || Drop(gone);
    return {std::move(kept), updated ? Trouble::None : Trouble::NotUpdated, std::move(gone)};
}

bool HistoryStore::Drop(const std::vector<std::wstring>& manifestPaths) {
    std::vector<std::wstring> keys;
    keys.reserve(manifestPaths.size());
    for (const std::wstring& path : manifestPaths) keys.push_back(HistoryKeyFor(path));
    const HistoryLock lock(file_);
    return RemoveSectionKeys({file_, kHistorySection}, keys);
}

bool HistoryStore::Forget(const std::wstring& manifestPath) { return Drop({manifestPath}); }
