#pragma once
#include <string>

// The text of the Help panel: six sections, each a heading underlined with "=", then bullet
// paragraphs ("\t* ") broken into short lines. Lines end in CR LF.
const std::wstring& HelpText();
