#pragma once
#include <string>
#include <string_view>

// What the manifest a program carries in its own image means for a manifest file beside it.
enum class OwnManifest {
    // None, or a damaged one: the file beside the program decides its look.
    None,
    // Its maker themed it: a file beside it changes nothing, on any Windows.
    AsksForCommonControls6,
    // Windows Vista and later ignore the file beside it unless external manifests are preferred;
    // Windows XP takes the file beside it. A manifest too large to read whole counts here unless
    // its part read asks for Common Controls 6.
    WithoutCommonControls6,
};

// Reads the program's own manifest (see ReadEmbeddedManifest). Paths of any length.
OwnManifest ClassifyOwnManifest(const std::wstring& executablePath);

// Whether a manifest's text declares a dependency on the Common Controls assembly of version 6:
// an assemblyIdentity inside a dependentAssembly, named Microsoft.Windows.Common-Controls (letter
// case ignored) with a version 6.x. Namespace prefixes and either kind of quotes are taken as the
// loader takes them; anything inside a comment does not count.
bool AsksForCommonControls6(std::wstring_view manifestText);

// The text of a manifest resource as the loader reads it: UTF-16 of either byte order after its
// byte order mark, or without one when the first '<' has a zero byte beside it; else as
// DecodeManifestBytes reads manifest files.
std::wstring DecodeEmbeddedManifest(std::string_view bytes);
