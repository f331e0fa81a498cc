#pragma once
#include <string>
#include <vector>

#include "history/HistoryStore.h"

// Where the history's manifests stand: what a listing or a dry run shows, and what a load
// (HistoryStore::List) prunes by.

// Where an entry's manifest stands now.
enum class ManifestStanding {
    Present,
    Gone,         // not there, on a drive or share that can be reached: its entry is stale
    Unreachable,  // not found, on a drive or share that cannot be reached now: says nothing
};

// The standing of each entry's manifest, in the same order: the one rule by which a history load
// prunes and the console program's history commands sort the entries.
std::vector<ManifestStanding> StandingOfManifests(const std::vector<HistoryStore::Entry>& entries);
