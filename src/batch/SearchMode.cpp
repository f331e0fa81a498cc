#include "batch/SearchMode.h"

std::wstring SearchPatternOf(SearchMode mode) { return mode == SearchMode::Themed ? L"*.exe.manifest" : L"*.exe"; }
