#pragma once
#include <string>
#include <vector>

#include "history/HistoryStore.h"

// The history as it stands, read without changing it: what a listing or a dry run shows, and what
// a load (HistoryStore::List) prunes by.

// Every entry in file order, as stored: lines that name no manifest of ours are left out, and
// nothing is pruned or converted. Read under the lock every copy of the program shares.
std::vector<HistoryStore::Entry> ReadHistoryEntries(const std::wstring& historyFile);

// Where an entry's manifest stands now.
enum class ManifestStanding {
    Present,
    Gone,         // not there, on a drive or share that can be reached: its entry is stale
    Unreachable,  // not found, on a drive or share that cannot be reached now: says nothing
};

// The standing of each manifest, in the same order: the one rule by which a history load prunes
// and the console program's history commands sort the entries.
std::vector<ManifestStanding> StandingOfManifests(const std::vector<std::wstring>& manifestPaths);
