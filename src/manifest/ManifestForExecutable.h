#pragma once
#include <string>

#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFailure.h"

// Writes the manifest document with these details beside the executable, naming the processor
// architecture its PE header declares. True when the manifest was written; on false nothing
// changed and the failure tells why.
ManifestWrite WriteManifestForExecutable(const std::wstring& executablePath, const ManifestDetails& details);

// The details read back from the executable's manifest; empty texts when it cannot be read.
ManifestDetails ReadManifestDetailsForExecutable(const std::wstring& executablePath);
