#pragma once
#include <string>

// Links and junctions on the way to a file. A path chosen in a listing names the place the user
// saw; a folder swapped for a link or junction afterwards would lead a write or a deletion
// somewhere else. No window involved.

// True when the item at `path` (file or folder) is itself a link or junction: marked as a reparse
// point, or found by the platform under another name or in another place than its folder and
// name say (Wine marks no link to a file). A missing item is none.
bool IsLinkOrJunction(const std::wstring& path);

// True when the file at `path` has more than one name: hard links to it in this or other folders.
// A change that replaces the file under one name parts it from the others. A missing file, or a
// folder, has none.
bool HasOtherNames(const std::wstring& path);

// True when any folder of the full path below its root (drive or share), or the item itself, is
// a link or junction (see IsLinkOrJunction). The check ends at the first part that does not
// exist: nothing beyond it can lead anywhere. Paths of any length.
bool PassesThroughLink(const std::wstring& path);
