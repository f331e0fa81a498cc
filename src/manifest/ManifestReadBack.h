#pragma once
#include <string_view>

#include "manifest/ManifestDocument.h"

// The four details read back out of a manifest's text, as the detail boxes show them.
// Lines end at a carriage return (a line feed right after it belongs to the line end). The
// application's name attribute is found after the first "name = " (letter case ignored), up to
// the line's end; company, product and application name are the texts in its three pairs of
// square brackets, the description what stands between the first <description> and
// </description>; each trimmed of blanks and with XML references resolved.
// Like older versions: a "]" inside a detail ends it and shifts the details after it, a manifest
// without "name = " is cut from its first line (from the seventh character on), and one without
// "</description>" has an empty description.
ManifestDetails ReadBackManifestDetails(std::wstring_view manifestText);
