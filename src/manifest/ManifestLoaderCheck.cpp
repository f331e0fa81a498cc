#include "manifest/ManifestLoaderCheck.h"

#include "manifest/ManifestDocument.h"
#include "platform/ActivationContext.h"
#include "platform/WholeFile.h"

namespace {

// Whether the store here serves the architecture: the plain document, written beside the file,
// is accepted.
bool StoreServes(const std::wstring& folder, ProcessorArchitecture architecture) {
    TemporaryFile plain(folder);
    return plain.created() && plain.Write(ComposeManifestDocument({}, architecture)) == ERROR_SUCCESS &&
           ActivationContextError(plain.path()) == ERROR_SUCCESS;
}

}  // namespace

DWORD LoaderRefusal(const std::wstring& manifestFile, ProcessorArchitecture architecture) {
    const DWORD refusal = ActivationContextError(manifestFile);
    if (refusal == ERROR_SUCCESS || !StoreServes(FolderPartOf(manifestFile), architecture)) return ERROR_SUCCESS;
    return refusal;
}
