#pragma once
#include <string>

// The Recycle Bin, for manifests this program did not write: they go there only where the user
// can get them back.

// True only where a Recycle Bin is known to keep what is deleted: a fixed drive that is a volume
// of its own (not a folder mapped to a drive letter), whose bin the shell can query and that no
// setting or policy tells to delete files at once.
bool HasConfirmedRecycleBin(const std::wstring& fullPath);

// Whether the drive letter stands for a volume of its own, rather than for a folder of another
// drive (SUBST, DefineDosDevice) or for nothing at all.
bool HasVolumeOfItsOwn(wchar_t driveLetter);

// The volume's name ("\\?\Volume{...}\") of a drive root; empty when it has none.
std::wstring VolumeNameOf(const std::wstring& root);

// Sends the file to the Recycle Bin; true when it is gone from its place.
bool SendToRecycleBin(const std::wstring& fullPath);
