#include "manifest/OwnManifest.h"

#include <optional>

#include "manifest/ManifestDocument.h"
#include "manifest/XmlTags.h"
#include "platform/EmbeddedManifest.h"
#include "platform/ProfileEncoding.h"
#include "platform/TextFunctions.h"

namespace {

constexpr std::wstring_view kCommonControls = L"Microsoft.Windows.Common-Controls";

bool IsCommonControls6(const XmlTag& identity) {
    const std::optional<std::wstring> name = identity.Attribute(L"name");
    const std::optional<std::wstring> version = identity.Attribute(L"version");
    return name && version && SameTextIgnoringCase(TrimBlanks(*name), kCommonControls) &&
           TrimBlanks(*version).starts_with(L"6.");
}

}  // namespace

std::wstring DecodeEmbeddedManifest(std::string_view bytes) {
    for (const TextForm form : {TextForm::Utf16Le, TextForm::Utf16Be}) {
        if (bytes.starts_with(ByteOrderMarkOf(form))) return DecodeProfileText(bytes.substr(2), form);
    }
    // Without a mark the loader takes the text for UTF-16 when its first '<' has a zero byte
    // beside it: after it in little-endian order, before it in big-endian.
    const size_t bracket = bytes.find('<');
    if (bracket != std::string_view::npos) {
        if (bracket % 2 == 0 && bracket + 1 < bytes.size() && bytes[bracket + 1] == '\0') {
            return DecodeProfileText(bytes, TextForm::Utf16Le);
        }
        if (bracket % 2 == 1 && bytes[bracket - 1] == '\0') return DecodeProfileText(bytes, TextForm::Utf16Be);
    }
    return DecodeManifestBytes(bytes);
}

bool AsksForCommonControls6(std::wstring_view manifestText) {
    int dependentAssemblies = 0;
    for (const XmlTag& tag : ScanXmlTags(manifestText)) {
        if (tag.name == L"dependentAssembly") {
            if (tag.kind == XmlTag::Kind::Opening) ++dependentAssemblies;
            if (tag.kind == XmlTag::Kind::Closing && dependentAssemblies > 0) --dependentAssemblies;
        } else if (tag.name == L"assemblyIdentity" && tag.kind != XmlTag::Kind::Closing && dependentAssemblies > 0 &&
                   IsCommonControls6(tag)) {
            return true;
        }
    }
    return false;
}

OwnManifest ClassifyOwnManifest(const std::wstring& executablePath) {
    const std::optional<std::string> bytes = ReadEmbeddedManifest(executablePath);
    if (!bytes) return OwnManifest::None;
    return AsksForCommonControls6(DecodeEmbeddedManifest(*bytes)) ? OwnManifest::AsksForCommonControls6
                                                                  : OwnManifest::WithoutCommonControls6;
}
