#pragma once
#include <string>
#include <vector>

// Programs as a message names them: the first ten lines, each with its line break, then
// "and N more" for the rest.
std::wstring ListedPrograms(const std::vector<std::wstring>& lines);
