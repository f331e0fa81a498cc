#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The element tags of an XML text in document order, read leniently: comments, CDATA sections,
// processing instructions and declarations are passed over, a namespace prefix is dropped from
// element names, and a text that is not well-formed gives the tags that could be told apart.
struct XmlTag {
    enum class Kind { Opening, Closing, Empty };  // <a ...>, </a>, <a .../>
    Kind kind = Kind::Opening;
    std::wstring_view name;        // without its namespace prefix
    std::wstring_view attributes;  // everything between the name and the tag's end

    // The value of the attribute of this exact name (no prefix), XML references resolved.
    std::optional<std::wstring> Attribute(std::wstring_view attributeName) const;
};

// The views point into the text, which has to outlive them.
std::vector<XmlTag> ScanXmlTags(std::wstring_view text);
