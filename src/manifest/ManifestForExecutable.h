#pragma once
#include <string>

#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFailure.h"

// Makes the bytes of a manifest: ComposeManifestDocument, or in tests a maker of documents the
// loader refuses.
using ManifestComposer = std::string (*)(const ManifestDetails& details, ProcessorArchitecture architecture);

// Writes the manifest document with these details beside the executable, naming the processor
// architecture its PE header declares, once the side-by-side loader has accepted it (see
// LoaderRefusal). True when the manifest was written; on false nothing changed and the failure
// tells why.
ManifestWrite WriteManifestForExecutable(const std::wstring& executablePath, const ManifestDetails& details,
                                         ManifestComposer compose = ComposeManifestDocument);

// The details read back from the executable's manifest; empty texts when it cannot be read.
ManifestDetails ReadManifestDetailsForExecutable(const std::wstring& executablePath);
