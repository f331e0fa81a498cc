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
    const std::string_view utf16Mark = ByteOrderMarkOf(TextForm::Utf16Le);
    if (!bytes.starts_with(utf16Mark)) return DecodeManifestBytes(bytes);
    return DecodeProfileText(bytes.substr(utf16Mark.size()), TextForm::Utf16Le);
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
