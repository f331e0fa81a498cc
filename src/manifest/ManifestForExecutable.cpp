#include "manifest/ManifestForExecutable.h"

#include "manifest/ExecutableArchitecture.h"
#include "manifest/ManifestFile.h"
#include "manifest/ManifestLoaderCheck.h"
#include "manifest/ManifestReadBack.h"

ManifestWrite WriteManifestForExecutable(const std::wstring& executablePath, const ManifestDetails& details,
                                         ManifestComposer compose) {
    const ProcessorArchitecture architecture = ReadExecutableArchitecture(executablePath);
    return WriteManifestFile(ManifestPathFor(executablePath), compose(details, architecture),
                             [architecture](const std::wstring& written) { return LoaderRefusal(written, architecture); });
}

ManifestDetails ReadManifestDetailsForExecutable(const std::wstring& executablePath) {
    const std::optional<std::string> bytes = ReadManifestFile(ManifestPathFor(executablePath));
    if (!bytes) return {};
    return ReadBackManifestDetails(DecodeManifestBytes(*bytes));
}
