#pragma once
#include <string>

#include "manifest/ManifestDocument.h"

namespace xpv_test {

// The manifest document cut in half, which the side-by-side loader refuses: a maker of documents
// for the writers, in place of ComposeManifestDocument.
inline std::string HalfADocument(const ManifestDetails& details, ProcessorArchitecture architecture) {
    const std::string sound = ComposeManifestDocument(details, architecture);
    return sound.substr(0, sound.size() / 2);
}

}  // namespace xpv_test
