#pragma once
#include <string>
#include <string_view>

#include "manifest/ExecutableArchitecture.h"

// The four texts that identify an application inside its manifest.
struct ManifestDetails {
    std::wstring company;
    std::wstring product;
    std::wstring applicationName;
    std::wstring description;

    bool operator==(const ManifestDetails&) const = default;
};

// The bytes of a manifest file: the 22-line document, every line ending in CR LF, followed by one
// empty line; UTF-8, as its first line declares. The details are inserted as XML text (reserved
// characters escaped, characters XML cannot carry blanked); both processorArchitecture attributes
// take the given architecture. For plain ASCII details and X86 the bytes are those older versions
// wrote.
std::string ComposeManifestDocument(const ManifestDetails& details, ProcessorArchitecture architecture);

// The text of a manifest file: UTF-8 when the bytes are well-formed UTF-8 (a leading byte order
// mark dropped), else the ANSI code page that older versions wrote in.
std::wstring DecodeManifestBytes(std::string_view bytes);

// Whether a manifest's text has the shape of the document this program writes: all 22 lines
// present with every fixed part equal, whatever the details and the architecture value, with or
// without the empty line after them and nothing else.
bool IsOwnManifestDocument(std::wstring_view text);
