#pragma once
#include <span>
#include <string>
#include <string_view>

// A section of the help: its heading underlined with "=", bullet paragraphs ("\t* ") broken into
// short lines, and the empty lines before the next section.
using HelpLines = std::span<const std::wstring_view>;

// The sections on the panels; the panel table names each panel's.
extern const HelpLines kVestrimHelp;
extern const HelpLines kTurboHelp;
extern const HelpLines kHistoryHelp;
extern const HelpLines kSettingsHelp;

// The text of the Help panel: the panels' sections in the order of the panel table, then the
// notes. Lines end in CR LF.
const std::wstring& HelpText();
