#pragma once
#include <string>
#include <vector>

// Lines as a message lists them (programs, tweaks): the first ten, each with its line break, then
// "and N more" for the rest.
std::wstring ListedLines(const std::vector<std::wstring>& lines);
