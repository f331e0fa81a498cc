#include "platform/ListedLines.h"

namespace {

constexpr size_t kNamedAtMost = 10;

}  // namespace

std::wstring ListedLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (size_t i = 0; i < lines.size() && i < kNamedAtMost; ++i) text += lines[i] + L"\r\n";
    if (lines.size() > kNamedAtMost) text += L"and " + std::to_wstring(lines.size() - kNamedAtMost) + L" more\r\n";
    return text;
}
