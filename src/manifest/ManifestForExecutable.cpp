#include "manifest/ManifestForExecutable.h"

#include "manifest/ExecutableArchitecture.h"
#include "manifest/ManifestFile.h"
#include "manifest/ManifestReadBack.h"

ManifestWrite WriteManifestForExecutable(const std::wstring& executablePath, const ManifestDetails& details) {
    return WriteManifestFile(ManifestPathFor(executablePath),
                             ComposeManifestDocument(details, ReadExecutableArchitecture(executablePath)));
}

ManifestDetails ReadManifestDetailsForExecutable(const std::wstring& executablePath) {
    const std::optional<std::string> bytes = ReadManifestFile(ManifestPathFor(executablePath));
    if (!bytes) return {};
    return ReadBackManifestDetails(DecodeManifestBytes(*bytes));
}
